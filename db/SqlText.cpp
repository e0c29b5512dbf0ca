#include "db/SqlText.h"

namespace kroDB {

std::wstring SqlEscape(std::wstring_view text)
{
    std::wstring out;
    out.reserve(text.size() + 8);
    for (wchar_t c : text) {
        if (c == L'\0') {
            continue;
        }
        if (c == L'\'') {
            out += L'\'';
        }
        out += c;
    }
    return out;
}

std::wstring SqlIdentifier(std::wstring_view name)
{
    std::wstring out = L"\"";
    for (wchar_t c : name) {
        if (c == L'\0') {
            continue;
        }
        if (c == L'"') {
            out += L'"';
        }
        out += c;
    }
    out += L'"';
    return out;
}

bool IsPlainColumnName(std::wstring_view name)
{
    if (name.empty() || name.size() > 63 || (name[0] >= L'0' && name[0] <= L'9')) {
        return false;
    }
    for (wchar_t c : name) {
        const bool ok = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') ||
                        (c >= L'0' && c <= L'9') || c == L'_';
        if (!ok) {
            return false;
        }
    }
    return true;
}

bool IsPlainTypeName(std::wstring_view type)
{
    bool inSize = false;
    bool sizeDone = false;
    for (wchar_t c : type) {
        const bool letter = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
        const bool digit = c >= L'0' && c <= L'9';
        if (sizeDone) {
            return false;
        }
        if (inSize) {
            if (c == L')') {
                sizeDone = true;
            } else if (!digit && c != L',') {
                return false;
            }
        } else if (c == L'(') {
            inSize = true;
        } else if (!letter && !digit && c != L' ') {
            return false;
        }
    }
    return !type.empty() && !(inSize && !sizeDone);
}

}  // namespace kroDB
