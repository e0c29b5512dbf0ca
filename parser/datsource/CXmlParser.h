// A small XML parser for the documents inside hand-history databases: elements
// with quoted attributes, text with the five predefined entities and character
// references, comments and character data sections. No namespaces, no DTDs
// (declarations are skipped). One parser per thread.
#pragma once

#include "parser/datsource/CXmlNode.h"

#include <cstddef>
#include <string>
#include <string_view>

class CXmlParser
{
public:
    // Deeper documents are refused, so that neither parsing nor destroying a
    // tree can exhaust the stack.
    static constexpr size_t kMaxDepth = 256;

    // Parses `text` into `document`: a node without a name whose children are
    // the top-level nodes. False when the text is not well formed or holds no
    // element; then `document` is empty and ErrorText() and ErrorOffset() say
    // what was wrong and where (in characters).
    [[nodiscard]] bool Parse(std::wstring_view text, CXmlNode& document);

    const std::wstring& ErrorText() const { return m_errorText; }
    size_t ErrorOffset() const { return m_errorOffset; }

    // `text` with "&amp;", "&quot;", "&apos;", "&lt;", "&gt;" and "&#...;"
    // decoded; any other "&" is kept as written.
    static std::wstring DecodeEntities(std::wstring_view text);

private:
    std::wstring m_errorText;
    size_t m_errorOffset = 0;
};
