#include "foundation/CStatDefinitions.h"

#include "foundation/TextDecoding.h"

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/json_parser/detail/read.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace pt = boost::property_tree;

namespace {

// The key's value; the default when the key is absent. A value that does not
// convert throws, which ends the reading of the section.
template <typename T>
T Value(const pt::wptree& node, const wchar_t* key, const T& fallback)
{
    const auto child = node.get_child_optional(key);
    return child ? child->get_value<T>() : fallback;
}

}  // namespace

bool CStatDefinitions::LoadStatTypes(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LoadFromText(bytes);
    return true;
}

void CStatDefinitions::LoadFromText(const std::string& utf8Json)
{
    const TextEncoding enc = DetectTextEncoding(utf8Json);
    const std::wstring text =
        DecodeText(std::string_view(utf8Json).substr(ByteOrderMarkSize(enc)), enc);

    // The parser's own callbacks keep the tree built so far when it stops at a
    // syntax error, so that the sections before the error stay usable.
    pt::json_parser::detail::standard_callbacks<pt::wptree> callbacks;
    pt::json_parser::detail::wide_wide_encoding encoding;
    try {
        pt::json_parser::detail::read_json_internal(text.begin(), text.end(), encoding, callbacks,
                                                    "predeftypes.json");
    } catch (const pt::json_parser_error&) {
    }
    m_tree.swap(callbacks.output());
}

bool CStatDefinitions::ReadStatSection(const std::wstring& path,
                                       std::vector<CStatDefinition>& entries) const
{
    if (!m_tree.empty()) {
        const auto section = m_tree.get_child_optional(pt::wptree::path_type(path, L'.'));
        if (section) {
            try {
                for (const auto& [key, node] : *section) {
                    CStatDefinition def;
                    def.id = Value<int32_t>(node, L"id", 0);
                    def.name = Value<std::wstring>(node, L"name", L"");
                    def.notation = Value<std::wstring>(node, L"notation", L"");
                    def.description = Value<std::wstring>(node, L"description", L"");
                    def.type = Value<std::wstring>(node, L"type", L"");
                    def.value = Value<int32_t>(node, L"value", 0);
                    if (const auto options = node.get_child_optional(L"options")) {
                        for (const auto& [k, option] : *options) {
                            def.options.push_back(option.get_value<int32_t>());
                        }
                    }
                    entries.push_back(std::move(def));
                }
            } catch (const pt::ptree_error&) {
            }
        }
    }
    return !entries.empty();
}
