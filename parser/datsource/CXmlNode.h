// One node of a parsed XML text: an element, a comment ("#COMMENT") or a
// character data section ("#CDATA"). A node owns its children; a plain value
// type, thread-compatible.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CXmlNode
{
public:
    static constexpr wchar_t kCommentName[] = L"#COMMENT";
    static constexpr wchar_t kCDataName[] = L"#CDATA";

    struct CAttribute
    {
        std::wstring name;
        std::wstring value;
    };

    CXmlNode() = default;
    explicit CXmlNode(std::wstring name)
        : m_name(std::move(name))
    {}

    // Empty for the document node that holds the top-level nodes.
    const std::wstring& Name() const { return m_name; }
    // The element's text with entities decoded; a comment's or a character data
    // section's text as written.
    const std::wstring& Value() const { return m_value; }
    // The value followed by the text of the character data sections directly
    // inside, which is where text that looks like markup is usually kept.
    std::wstring Text() const;

    const std::vector<CAttribute>& Attributes() const { return m_attributes; }
    // The first attribute of that name, or null.
    const std::wstring* FindAttribute(std::wstring_view name) const;

    size_t ChildCount() const { return m_children.size(); }
    // Null when `index` is out of range. Valid until the node changes.
    const CXmlNode* Child(size_t index) const;
    // The first child of that name, or null.
    const CXmlNode* FindChild(std::wstring_view name) const;
    bool IsElement() const { return !m_name.empty() && m_name.front() != L'#'; }

    void AppendValue(std::wstring_view text) { m_value.append(text); }
    void AddAttribute(std::wstring name, std::wstring value);
    // Adds `child` last and returns it; references to earlier children may move.
    CXmlNode& AddChild(CXmlNode child);
    void Clear();

private:
    std::wstring m_name;
    std::wstring m_value;
    std::vector<CAttribute> m_attributes;
    std::vector<CXmlNode> m_children;
};
