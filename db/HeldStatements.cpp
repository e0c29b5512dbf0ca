#include "db/HeldStatements.h"

#include "db/SqlText.h"
#include "foundation/WideText.h"

#include <string_view>
#include <unordered_set>

namespace kroDB {

namespace {

// The statement with each "$n" replaced by its value as a quoted literal;
// the highest numbers go first, so that "$1" is not taken for the start of
// "$12".
std::wstring WithParams(const CHeldStatement& held)
{
    std::wstring sql = held.sql;
    for (size_t n = held.params.size(); n >= 1; --n) {
        const std::wstring name = L"$" + std::to_wstring(n);
        const std::wstring literal = L"'" + SqlEscape(held.params[n - 1]) + L"'";
        for (size_t at = sql.find(name); at != std::wstring::npos;
             at = sql.find(name, at + literal.size())) {
            sql.replace(at, name.size(), literal);
        }
    }
    return sql;
}

}  // namespace

size_t FindColumn(const RowValues& values, size_t at, const std::wstring& column)
{
    if (at < values.size() && values[at].first == column) {
        return at;
    }
    for (size_t k = 0; k < values.size(); ++k) {
        if (EqualsNoCase(values[k].first, column)) {
            return k;
        }
    }
    return values.size();
}

std::vector<CHeldPiece> CutHeld(const std::vector<CHeldStatement>& held)
{
    std::vector<CHeldPiece> pieces;
    for (size_t i = 0; i < held.size();) {
        CHeldPiece piece;
        if (held[i].table.empty()) {
            piece.statement = i;
            pieces.push_back(std::move(piece));
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < held.size() && held[end].table == held[i].table) {
            ++end;
        }
        CHeldRowRun& run = piece.rows;
        run.begin = i;
        run.end = end;
        for (const auto& value : held[i].values) {
            run.columns.push_back(value.first);
        }
        // The run's columns by name, made at the first row that names its
        // values otherwise (the players of a hand carry different
        // statistics); the names stay in `held`.
        std::unordered_set<std::wstring_view> names;
        for (size_t r = i + 1; r < end; ++r) {
            const RowValues& values = held[r].values;
            for (size_t k = 0; k < values.size(); ++k) {
                const std::wstring& name = values[k].first;
                if (k < run.columns.size() && run.columns[k] == name) {
                    continue;
                }
                if (run.aligned) {
                    run.aligned = false;
                    for (size_t s = i; s < r; ++s) {
                        for (const auto& value : held[s].values) {
                            names.insert(value.first);
                        }
                    }
                }
                bool known = names.count(name) != 0;
                for (size_t c = 0; !known && c < run.columns.size(); ++c) {
                    known = EqualsNoCase(run.columns[c], name);
                }
                if (!known) {
                    run.columns.push_back(name);
                }
                names.insert(name);
            }
        }
        pieces.push_back(std::move(piece));
        i = end;
    }
    return pieces;
}

std::wstring HeldText(const std::vector<CHeldStatement>& held)
{
    size_t chars = 0;
    for (const auto& statement : held) {
        chars += statement.sql.size() + 16;
        for (const auto& [column, value] : statement.values) {
            chars += value.size() + 1;
        }
    }
    std::wstring text;
    text.reserve(chars);
    for (const CHeldPiece& piece : CutHeld(held)) {
        if (!piece.IsRows()) {
            const std::wstring sql = WithParams(held[piece.statement]);
            text += sql;
            if (sql.empty() || sql.back() != L';') {
                text += L';';
            }
            text += L'\n';
            continue;
        }
        const CHeldRowRun& run = piece.rows;
        text += L"insert into " + held[run.begin].table + L" (";
        for (size_t c = 0; c < run.columns.size(); ++c) {
            if (c != 0) {
                text += L',';
            }
            text += run.columns[c];
        }
        text += L") values";
        for (size_t r = run.begin; r < run.end; ++r) {
            const RowValues& values = held[r].values;
            text += r == run.begin ? L"(" : L",(";
            for (size_t c = 0; c < run.columns.size(); ++c) {
                if (c != 0) {
                    text += L',';
                }
                const size_t k = FindColumn(values, c, run.columns[c]);
                text += k < values.size() ? values[k].second : std::wstring(L"DEFAULT");
            }
            text += L')';
        }
        text += L";\n";
    }
    return text;
}

}  // namespace kroDB
