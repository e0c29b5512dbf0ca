// The columns that new rows of a table are sent with. A row that lacks a
// column sends the column's default as a value, so that rows of one table
// keep one shape whichever statistics they carry and share one prepared
// statement. The columns only grow: those of every row seen so far.
#pragma once

#include "db/pq/PqUnit.h"

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kroDB::pq {

struct CShapeColumn
{
    std::wstring name;
    // How the default travels: a parameter value, a null, or "DEFAULT" in
    // the text for defaults that are expressions (a sequence's next value).
    LiteralKind kind = LiteralKind::Null;
    std::string value;
};

class CTableShapes
{
public:
    // Fills the (lower-case column, default expression) pairs of a table;
    // empty expression without a default. False when unknown.
    using Loader = std::function<bool(const std::wstring& table,
                                      std::vector<std::pair<std::wstring, std::wstring>>&)>;
    explicit CTableShapes(Loader loader)
        : m_loader(std::move(loader))
    {}

    // The columns of `table` grown by `columns` (in a fixed order), with for
    // each column of `row` its place among them in `slots` (-1: absent).
    // Null when the table's defaults are unknown or it lacks a column.
    const std::vector<CShapeColumn>* Grow(const std::wstring& table,
                                          const std::vector<std::wstring>& columns);
    // The statement text kept for `rows` rows of `table` in its present shape;
    // empty until the caller stores it there.
    std::string& Text(const std::wstring& table, size_t rows)
    {
        return m_tables[table].texts[rows];
    }
    // The places of the columns of `table` by name; null when it is unknown.
    // Valid until the table grows.
    const std::unordered_map<std::wstring, int>* Slots(const std::wstring& table) const
    {
        const auto it = m_tables.find(table);
        return it == m_tables.end() ? nullptr : &it->second.slots;
    }

private:
    struct CTable
    {
        bool known = false;
        // Lower-case name to default expression.
        std::map<std::wstring, std::wstring> defaults;
        std::vector<CShapeColumn> columns;
        std::unordered_map<std::wstring, int> slots;
        std::unordered_map<size_t, std::string> texts;
    };
    CTable& Load(const std::wstring& table);

    Loader m_loader;
    std::unordered_map<std::wstring, CTable> m_tables;
};

}  // namespace kroDB::pq
