#include "db/pq/TableShapes.h"

#include "foundation/WideText.h"

#include <algorithm>

namespace kroDB::pq {

namespace {

// A default as the catalogue writes it ("0", "false", "'x'::character
// varying", "(-1)") as a literal; other expressions stay as they are.
std::wstring_view PlainDefault(std::wstring_view text)
{
    while (text.size() >= 2 && text.front() == L'(' && text.back() == L')') {
        text = text.substr(1, text.size() - 2);
    }
    if (!text.empty() && text.front() == L'\'') {
        const size_t cast = text.rfind(L"'::");
        if (cast != std::wstring_view::npos && cast > 0) {
            return text.substr(0, cast + 1);
        }
    }
    return text;
}

// The catalogue's name of a column as the statements write it ("localtime"
// in quotes is localtime).
std::wstring CatalogName(const std::wstring& column)
{
    std::wstring name = ToLowerAscii(column);
    if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"') {
        name = name.substr(1, name.size() - 2);
    }
    return name;
}

}  // namespace

CTableShapes::CTable& CTableShapes::Load(const std::wstring& table)
{
    auto [it, added] = m_tables.try_emplace(table);
    if (added) {
        std::vector<std::pair<std::wstring, std::wstring>> defaults;
        it->second.known = m_loader && m_loader(table, defaults) && !defaults.empty();
        for (auto& [column, expression] : defaults) {
            it->second.defaults.emplace(std::move(column), std::move(expression));
        }
    }
    return it->second;
}

const std::vector<CShapeColumn>* CTableShapes::Grow(const std::wstring& table,
                                                    const std::vector<std::wstring>& columns)
{
    CTable& shape = Load(table);
    if (!shape.known) {
        return nullptr;
    }
    bool grown = false;
    for (const auto& column : columns) {
        if (shape.slots.count(column) != 0) {
            continue;
        }
        const std::wstring lower = CatalogName(column);
        const auto found = shape.defaults.find(lower);
        if (found == shape.defaults.end()) {
            return nullptr;
        }
        const bool listed =
            std::any_of(shape.columns.begin(), shape.columns.end(),
                        [&lower](const CShapeColumn& c) { return CatalogName(c.name) == lower; });
        if (!listed) {
            CShapeColumn added;
            added.name = column;
            if (found->second.empty()) {
                added.kind = LiteralKind::Null;
            } else {
                added.kind = ClassifyLiteral(PlainDefault(found->second), added.value);
            }
            shape.columns.push_back(std::move(added));
            grown = true;
        }
        shape.slots.clear();
    }
    if (grown) {
        shape.texts.clear();
        std::sort(shape.columns.begin(), shape.columns.end(),
                  [](const CShapeColumn& a, const CShapeColumn& b) {
                      return CatalogName(a.name) < CatalogName(b.name);
                  });
    }
    if (shape.slots.empty()) {
        for (size_t i = 0; i < shape.columns.size(); ++i) {
            shape.slots.emplace(shape.columns[i].name, static_cast<int>(i));
        }
        // Names written in another case find their column too.
        for (const auto& column : columns) {
            if (shape.slots.count(column) != 0) {
                continue;
            }
            const std::wstring lower = CatalogName(column);
            for (size_t i = 0; i < shape.columns.size(); ++i) {
                if (CatalogName(shape.columns[i].name) == lower) {
                    shape.slots.emplace(column, static_cast<int>(i));
                }
            }
        }
    }
    return &shape.columns;
}

}  // namespace kroDB::pq
