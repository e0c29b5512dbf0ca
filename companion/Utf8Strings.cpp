#include "companion/Utf8Strings.h"

#include "foundation/WideText.h"

#include <cstring>

char* GetNewUTF8StringFromUnicodeString(const std::wstring& text, int& bytes)
{
    const std::string utf8 = ToUtf8(text);
    char* copy = new char[utf8.size() + 1];
    std::memcpy(copy, utf8.c_str(), utf8.size() + 1);
    bytes = static_cast<int>(utf8.size());
    return copy;
}

void FreeUTF8String(char* text)
{
    delete[] text;
}
