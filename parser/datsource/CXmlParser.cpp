#include "parser/datsource/CXmlParser.h"

#include "foundation/WideText.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr std::wstring_view kCommentOpen = L"<!--";
constexpr std::wstring_view kCommentClose = L"-->";
constexpr std::wstring_view kCDataOpen = L"<![CDATA[";
constexpr std::wstring_view kCDataClose = L"]]>";

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool IsAllBlank(std::wstring_view text)
{
    for (wchar_t c : text) {
        if (!IsBlank(c)) {
            return false;
        }
    }
    return true;
}

// Ends a tag or attribute name.
bool EndsName(wchar_t c)
{
    return IsBlank(c) || c == L'/' || c == L'>' || c == L'=' || c == L'<' || c == L'"' ||
           c == L'\'';
}

std::optional<wchar_t> DecodeCharacterReference(std::wstring_view digits)
{
    int base = 10;
    if (!digits.empty() && (digits.front() == L'x' || digits.front() == L'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    unsigned long code = 0;
    for (wchar_t c : digits) {
        int digit = -1;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (base == 16 && c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (base == 16 && c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        code = code * static_cast<unsigned long>(base) + static_cast<unsigned long>(digit);
    }
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    return static_cast<wchar_t>(code);
}

// One pass over one text. The stack holds the open elements, the document at
// its bottom; each points into its parent's children, which do not change
// while a deeper element is open.
class CParseRun
{
public:
    explicit CParseRun(std::wstring_view text)
        : m_text(text)
    {}

    bool Run(CXmlNode& document);
    const std::wstring& Error() const { return m_error; }
    size_t Offset() const { return m_pos; }

private:
    bool Fail(std::wstring message)
    {
        m_error = std::move(message);
        return false;
    }
    bool StartsWith(std::wstring_view prefix) const
    {
        return m_text.substr(m_pos).starts_with(prefix);
    }
    void SkipBlanks()
    {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) {
            ++m_pos;
        }
    }
    std::wstring_view ReadName()
    {
        const size_t start = m_pos;
        while (m_pos < m_text.size() && !EndsName(m_text[m_pos])) {
            ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
    }

    bool ReadText();
    bool ReadRawNode(std::wstring_view open,
                     std::wstring_view close,
                     const wchar_t* name,
                     const wchar_t* unclosedMessage);
    bool SkipDeclaration();
    bool ReadEndTag();
    bool ReadStartTag();
    bool ReadAttributes(CXmlNode& element, bool& selfClosed);

    std::wstring_view m_text;
    size_t m_pos = 0;
    std::vector<CXmlNode*> m_open;
    std::wstring m_error;
};

bool CParseRun::Run(CXmlNode& document)
{
    m_open.assign(1, &document);
    while (m_pos < m_text.size()) {
        bool ok = true;
        if (m_text[m_pos] != L'<') {
            ok = ReadText();
        } else if (StartsWith(kCommentOpen)) {
            ok = ReadRawNode(kCommentOpen, kCommentClose, CXmlNode::kCommentName,
                             L"Comment must be closed with -->");
        } else if (StartsWith(kCDataOpen)) {
            ok = ReadRawNode(kCDataOpen, kCDataClose, CXmlNode::kCDataName,
                             L"CDATA section must be closed with ]]>");
        } else if (StartsWith(L"<?") || StartsWith(L"<!")) {
            ok = SkipDeclaration();
        } else if (StartsWith(L"</")) {
            ok = ReadEndTag();
        } else {
            ok = ReadStartTag();
        }
        if (!ok) {
            return false;
        }
    }
    if (m_open.size() > 1) {
        return Fail(L"Element must be closed.");
    }
    for (size_t i = 0; i < document.ChildCount(); ++i) {
        if (document.Child(i)->IsElement()) {
            return true;
        }
    }
    return Fail(L"The text holds no element.");
}

bool CParseRun::ReadText()
{
    size_t end = m_text.find(L'<', m_pos);
    if (end == std::wstring_view::npos) {
        end = m_text.size();
    }
    const std::wstring_view run = m_text.substr(m_pos, end - m_pos);
    // Blanks between tags are layout, not content.
    if (!IsAllBlank(run)) {
        m_open.back()->AppendValue(CXmlParser::DecodeEntities(run));
    }
    m_pos = end;
    return true;
}

bool CParseRun::ReadRawNode(std::wstring_view open,
                            std::wstring_view close,
                            const wchar_t* name,
                            const wchar_t* unclosedMessage)
{
    const size_t start = m_pos + open.size();
    const size_t end = m_text.find(close, start);
    if (end == std::wstring_view::npos) {
        return Fail(unclosedMessage);
    }
    CXmlNode node(name);
    node.AppendValue(m_text.substr(start, end - start));
    m_open.back()->AddChild(std::move(node));
    m_pos = end + close.size();
    return true;
}

bool CParseRun::SkipDeclaration()
{
    if (StartsWith(L"<?")) {
        const size_t end = m_text.find(L"?>", m_pos + 2);
        if (end == std::wstring_view::npos) {
            return Fail(L"Element must be closed.");
        }
        m_pos = end + 2;
        return true;
    }
    // "<!DOCTYPE ...>", possibly with an internal "[...]" part.
    int brackets = 0;
    for (size_t i = m_pos + 2; i < m_text.size(); ++i) {
        const wchar_t c = m_text[i];
        if (c == L'[') {
            ++brackets;
        } else if (c == L']') {
            --brackets;
        } else if (c == L'>' && brackets <= 0) {
            m_pos = i + 1;
            return true;
        }
    }
    return Fail(L"Element must be closed.");
}

bool CParseRun::ReadEndTag()
{
    const size_t tagStart = m_pos;
    m_pos += 2;
    const std::wstring name(ReadName());
    SkipBlanks();
    if (m_open.size() == 1) {
        m_pos = tagStart;
        return Fail(FormatW(L"</%ls> has no start tag.", name.c_str()));
    }
    const std::wstring& current = m_open.back()->Name();
    if (m_pos >= m_text.size() || m_text[m_pos] != L'>' || name.empty()) {
        return Fail(FormatW(L"it must be closed with </%ls>", current.c_str()));
    }
    if (name != current) {
        m_pos = tagStart;
        for (size_t i = 1; i + 1 < m_open.size(); ++i) {
            if (m_open[i]->Name() == name) {
                return Fail(
                    FormatW(L"%ls must be closed with </%ls>", current.c_str(), current.c_str()));
            }
        }
        return Fail(
            FormatW(L"'<%ls> ... </%ls>' is not wel-formed.", current.c_str(), name.c_str()));
    }
    ++m_pos;
    m_open.pop_back();
    return true;
}

bool CParseRun::ReadStartTag()
{
    const size_t tagStart = m_pos;
    ++m_pos;
    const std::wstring_view name = ReadName();
    if (name.empty()) {
        m_pos = tagStart;
        return Fail(L"An element has no name.");
    }
    if (m_open.size() > CXmlParser::kMaxDepth) {
        m_pos = tagStart;
        return Fail(FormatW(L"Elements are nested deeper than %d levels.",
                            static_cast<int>(CXmlParser::kMaxDepth)));
    }
    CXmlNode element{std::wstring(name)};
    bool selfClosed = false;
    if (!ReadAttributes(element, selfClosed)) {
        return false;
    }
    CXmlNode& added = m_open.back()->AddChild(std::move(element));
    if (!selfClosed) {
        m_open.push_back(&added);
    }
    return true;
}

bool CParseRun::ReadAttributes(CXmlNode& element, bool& selfClosed)
{
    const auto attributeError = [&] {
        return Fail(FormatW(L"<%ls> attribute has error", element.Name().c_str()));
    };
    for (;;) {
        SkipBlanks();
        if (m_pos >= m_text.size()) {
            return Fail(L"Element must be closed.");
        }
        const wchar_t c = m_text[m_pos];
        if (c == L'>') {
            ++m_pos;
            return true;
        }
        if (c == L'/') {
            if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == L'>') {
                m_pos += 2;
                selfClosed = true;
                return true;
            }
            return m_pos + 1 >= m_text.size() ? Fail(L"Element must be closed.") : attributeError();
        }
        const std::wstring_view name = ReadName();
        SkipBlanks();
        if (name.empty() || m_pos >= m_text.size() || m_text[m_pos] != L'=') {
            return attributeError();
        }
        ++m_pos;
        SkipBlanks();
        if (m_pos >= m_text.size() || (m_text[m_pos] != L'"' && m_text[m_pos] != L'\'')) {
            return attributeError();
        }
        const wchar_t quote = m_text[m_pos];
        const size_t valueStart = m_pos + 1;
        const size_t valueEnd = m_text.find(quote, valueStart);
        if (valueEnd == std::wstring_view::npos) {
            return attributeError();
        }
        element.AddAttribute(std::wstring(name), CXmlParser::DecodeEntities(m_text.substr(
                                                     valueStart, valueEnd - valueStart)));
        m_pos = valueEnd + 1;
    }
}

}  // namespace

bool CXmlParser::Parse(std::wstring_view text, CXmlNode& document)
{
    document.Clear();
    m_errorText.clear();
    m_errorOffset = 0;
    CParseRun run(text);
    if (run.Run(document)) {
        return true;
    }
    document.Clear();
    m_errorText = run.Error();
    m_errorOffset = run.Offset();
    return false;
}

std::wstring CXmlParser::DecodeEntities(std::wstring_view text)
{
    static constexpr std::pair<std::wstring_view, wchar_t> kEntities[] = {
        {L"amp", L'&'}, {L"quot", L'"'}, {L"apos", L'\''}, {L"lt", L'<'}, {L"gt", L'>'}};
    std::wstring out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t amp = text.find(L'&', pos);
        if (amp == std::wstring_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        out.append(text.substr(pos, amp - pos));
        pos = amp + 1;
        // Longest reference: "#x10FFFF" (eight characters) before the ";".
        const size_t semicolon = text.substr(amp, 11).find(L';');
        if (semicolon == std::wstring_view::npos) {
            out += L'&';
            continue;
        }
        const std::wstring_view entity = text.substr(amp + 1, semicolon - 1);
        std::optional<wchar_t> decoded;
        if (!entity.empty() && entity.front() == L'#') {
            decoded = DecodeCharacterReference(entity.substr(1));
        } else {
            for (const auto& [entityName, c] : kEntities) {
                if (entity == entityName) {
                    decoded = c;
                }
            }
        }
        if (!decoded) {
            out += L'&';
            continue;
        }
        out += *decoded;
        pos = amp + semicolon + 1;
    }
    return out;
}
