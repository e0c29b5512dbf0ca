#include "db/pq/PqUnit.h"

#include "db/pq/TableShapes.h"
#include "foundation/WideText.h"

#include <algorithm>
#include <cwctype>
#include <optional>
#include <utility>

namespace kroDB::pq {

namespace {

constexpr size_t kMaxParams = 65535;

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// -?digits, optionally ".digits" and an exponent; `decimal` when it has a
// point or an exponent (the server then reads it as numeric).
bool IsNumber(std::wstring_view text, bool& decimal)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    decimal = false;
    if (i < text.size() && text[i] == L'.') {
        decimal = true;
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        decimal = true;
        ++i;
        if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
            ++i;
        }
        const size_t start = i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        if (i == start) {
            return false;
        }
    }
    return i == text.size();
}

std::wstring_view Trim(std::wstring_view text)
{
    while (!text.empty() && std::iswspace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::iswspace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A statement without its final ";" when it is one statement; false when a
// ";" comes before its end.
bool SingleStatement(std::wstring_view sql, std::wstring_view& single)
{
    sql = Trim(sql);
    while (!sql.empty() && sql.back() == L';') {
        sql.remove_suffix(1);
        sql = Trim(sql);
    }
    if (sql.empty() || sql.find(L';') != std::wstring_view::npos) {
        return false;
    }
    single = sql;
    return true;
}

bool IsWordChar(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || IsDigit(c) || c == L'_' ||
           c == L'"';
}

// Reads `word` (any case) at `at`, skipping blanks first.
bool Expect(std::wstring_view text, size_t& at, std::wstring_view word)
{
    while (at < text.size() && std::iswspace(text[at])) {
        ++at;
    }
    if (text.size() - at < word.size() || !EqualsNoCase(text.substr(at, word.size()), word)) {
        return false;
    }
    at += word.size();
    return true;
}

// "SET LOCAL name = value" as set_config(name, value, true): the same for
// the unit, but a pipelined unit runs in the server's implicit transaction,
// where SET LOCAL draws a warning that the server logs for every hand.
// Nothing for any other statement.
std::optional<std::string> LocalSettingCall(std::wstring_view sql)
{
    size_t at = 0;
    if (!Expect(sql, at, L"SET") || !Expect(sql, at, L"LOCAL") || at == sql.size() ||
        !std::iswspace(sql[at])) {
        return std::nullopt;
    }
    const std::wstring_view rest = sql.substr(at);
    const size_t equals = rest.find(L'=');
    if (equals == std::wstring_view::npos) {
        return std::nullopt;
    }
    const std::wstring_view name = Trim(rest.substr(0, equals));
    std::wstring_view value = Trim(rest.substr(equals + 1));
    if (value.size() >= 2 && value.front() == L'\'' && value.back() == L'\'') {
        value = value.substr(1, value.size() - 2);
    }
    const auto plain = [](std::wstring_view text) {
        return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) {
            return std::iswalnum(c) || c == L'_' || c == L'.' || c == L'-';
        });
    };
    if (!plain(name) || !plain(value)) {
        return std::nullopt;
    }
    return "set_config('" + ToUtf8(std::wstring(name)) + "', '" + ToUtf8(std::wstring(value)) +
           "', true)";
}

// A name or a literal at `at`: a quoted text, or a run of letters, digits,
// signs and points; empty when neither.
std::wstring_view Token(std::wstring_view text, size_t& at)
{
    while (at < text.size() && std::iswspace(text[at])) {
        ++at;
    }
    const size_t start = at;
    if (at < text.size() && text[at] == L'\'') {
        for (++at; at < text.size(); ++at) {
            if (text[at] == L'\'') {
                if (at + 1 < text.size() && text[at + 1] == L'\'') {
                    ++at;
                    continue;
                }
                ++at;
                return text.substr(start, at - start);
            }
        }
        return {};
    }
    while (at < text.size() &&
           (IsWordChar(text[at]) || text[at] == L'-' || text[at] == L'.' || text[at] == L'+')) {
        ++at;
    }
    return text.substr(start, at - start);
}

// A statement "insert into T (a,b) values (1,'x'),(2,'y')" whose values are
// all literals, as held rows of T; false for any other statement.
bool RowsOfInsert(std::wstring_view sql, std::vector<CHeldStatement>& rows)
{
    size_t at = 0;
    if (!Expect(sql, at, L"insert") || !Expect(sql, at, L"into")) {
        return false;
    }
    const std::wstring_view table = Token(sql, at);
    if (table.empty() || !Expect(sql, at, L"(")) {
        return false;
    }
    std::vector<std::wstring_view> columns;
    do {
        const std::wstring_view column = Token(sql, at);
        if (column.empty()) {
            return false;
        }
        columns.push_back(column);
    } while (Expect(sql, at, L","));
    if (!Expect(sql, at, L")") || !Expect(sql, at, L"values")) {
        return false;
    }
    std::string ignored;
    do {
        if (!Expect(sql, at, L"(")) {
            return false;
        }
        CHeldStatement row;
        row.table = table;
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c != 0 && !Expect(sql, at, L",")) {
                return false;
            }
            const std::wstring_view value = Token(sql, at);
            if (value.empty() || ClassifyLiteral(value, ignored) == LiteralKind::Inline) {
                return false;
            }
            row.values.emplace_back(columns[c], value);
        }
        if (!Expect(sql, at, L")")) {
            return false;
        }
        rows.push_back(std::move(row));
    } while (Expect(sql, at, L","));
    while (at < sql.size() && (std::iswspace(sql[at]) || sql[at] == L';')) {
        ++at;
    }
    return at == sql.size();
}

// Plain inserts of literal rows become held rows, so that they are prepared
// like the rest.
void InsertsAsRows(std::vector<CHeldStatement>& held)
{
    std::vector<CHeldStatement> rows;
    for (size_t i = 0; i < held.size(); ++i) {
        rows.clear();
        if (!held[i].table.empty() || !RowsOfInsert(held[i].sql, rows)) {
            continue;
        }
        held.erase(held.begin() + static_cast<std::ptrdiff_t>(i));
        held.insert(held.begin() + static_cast<std::ptrdiff_t>(i),
                    std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
        i += rows.size() - 1;
    }
}

}  // namespace

LiteralKind ClassifyLiteral(std::wstring_view literal, std::string& value)
{
    value.clear();
    literal = Trim(literal);
    if (EqualsNoCase(literal, L"NULL")) {
        return LiteralKind::Null;
    }
    // Written as the server writes a boolean turned into text, so that a
    // text column receives the same letters either way.
    if (EqualsNoCase(literal, L"TRUE")) {
        value = "true";
        return LiteralKind::Param;
    }
    if (EqualsNoCase(literal, L"FALSE")) {
        value = "false";
        return LiteralKind::Param;
    }
    bool decimal = false;
    if (IsNumber(literal, decimal)) {
        for (wchar_t c : literal) {
            value += static_cast<char>(c);
        }
        return decimal ? LiteralKind::Numeric : LiteralKind::Param;
    }
    if (literal.size() >= 2 && literal.front() == L'\'' && literal.back() == L'\'') {
        for (size_t i = 1; i + 1 < literal.size(); ++i) {
            if (literal[i] == L'\'') {
                if (i + 2 < literal.size() && literal[i + 1] == L'\'') {
                    ++i;
                } else {
                    value.clear();
                    return LiteralKind::Inline;
                }
            }
            AppendUtf8(value, static_cast<char32_t>(literal[i]));
        }
        return LiteralKind::Param;
    }
    return LiteralKind::Inline;
}

namespace {

// One value of a row: a parameter, or text written into the statement.
struct CCell
{
    LiteralKind kind = LiteralKind::Param;
    std::wstring_view written;  // for Inline: the text itself
};

void AppendNumber(std::string& text, size_t number)
{
    char digits[24];
    size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number != 0);
    while (n != 0) {
        text += digits[--n];
    }
}

// "insert into T (a,b) values($1,$2),($3,DEFAULT)" for `cells`, row by row.
std::string InsertText(const std::wstring& table,
                       const std::vector<std::wstring>& columns,
                       const std::vector<CCell>& cells)
{
    std::string sql = "insert into " + ToUtf8(table) + " (";
    for (size_t c = 0; c < columns.size(); ++c) {
        if (c != 0) {
            sql += ',';
        }
        sql += ToUtf8(columns[c]);
    }
    sql += ") values";
    size_t param = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
        const size_t c = i % columns.size();
        sql += c == 0 ? (i == 0 ? "(" : "),(") : ",";
        const CCell& cell = cells[i];
        if (cell.kind == LiteralKind::Inline) {
            sql += ToUtf8(cell.written);
            continue;
        }
        sql += '$';
        AppendNumber(sql, ++param);
        if (cell.kind == LiteralKind::Numeric) {
            sql += "::numeric";
        }
    }
    sql += ')';
    return sql;
}

// Classifies `written` into a cell and, unless written inline, a parameter.
void AddCell(CPqStep& step, std::vector<CCell>& cells, std::wstring_view written, bool& plain)
{
    CCell cell;
    std::string value;
    cell.kind = ClassifyLiteral(written, value);
    if (cell.kind == LiteralKind::Inline) {
        cell.written = written;
        plain = false;
    } else {
        plain = plain && cell.kind != LiteralKind::Numeric;
        step.isNull.push_back(cell.kind == LiteralKind::Null ? 1 : 0);
        step.params.push_back(std::move(value));
    }
    cells.push_back(cell);
}

// The rows of `run` with the table's grown columns, defaults for what a row
// lacks; false when the table's shape is unknown.
bool RowsByShape(const std::vector<CHeldStatement>& held,
                 const CHeldRowRun& run,
                 CTableShapes& shapes,
                 CPqStep& step)
{
    const std::wstring& table = held[run.begin].table;
    const std::vector<CShapeColumn>* columns = shapes.Grow(table, run.columns);
    const size_t rows = run.end - run.begin;
    if (columns == nullptr || columns->empty() || rows * columns->size() > kMaxParams) {
        return false;
    }
    std::vector<CCell> cells;
    cells.reserve(rows * columns->size());
    step.params.reserve(rows * columns->size());
    step.isNull.reserve(rows * columns->size());
    // Statements of one shape and row count share their text while no value
    // is written into it.
    bool plain = true;
    std::vector<int> valueAt(columns->size());
    const std::unordered_map<std::wstring, int>* slots = shapes.Slots(table);
    if (slots == nullptr) {
        return false;
    }
    // The place of each of the run's columns, looked up once for all rows
    // when they name their values alike.
    std::vector<int> slotOf;
    if (run.aligned) {
        slotOf.reserve(run.columns.size());
        for (const std::wstring& name : run.columns) {
            const auto slot = slots->find(name);
            if (slot == slots->end()) {
                return false;
            }
            slotOf.push_back(slot->second);
        }
    }
    for (size_t r = run.begin; r < run.end; ++r) {
        const RowValues& values = held[r].values;
        std::fill(valueAt.begin(), valueAt.end(), -1);
        for (size_t k = 0; k < values.size(); ++k) {
            int place = -1;
            if (run.aligned) {
                place = slotOf[k];
            } else {
                const auto slot = slots->find(values[k].first);
                if (slot == slots->end()) {
                    return false;
                }
                place = slot->second;
            }
            valueAt[static_cast<size_t>(place)] = static_cast<int>(k);
        }
        for (size_t c = 0; c < columns->size(); ++c) {
            const CShapeColumn& column = (*columns)[c];
            if (valueAt[c] >= 0) {
                AddCell(step, cells, values[static_cast<size_t>(valueAt[c])].second, plain);
            } else if (column.kind == LiteralKind::Inline) {
                cells.push_back(CCell{LiteralKind::Inline, L"DEFAULT"});
                plain = false;
            } else {
                cells.push_back(CCell{column.kind, {}});
                step.isNull.push_back(column.kind == LiteralKind::Null ? 1 : 0);
                step.params.push_back(column.value);
                plain = plain && column.kind != LiteralKind::Numeric;
            }
        }
    }
    std::vector<std::wstring> names;
    const auto text = [&]() {
        names.clear();
        for (const auto& column : *columns) {
            names.push_back(column.name);
        }
        return InsertText(table, names, cells);
    };
    if (!plain) {
        step.prepare =
            step.prepare && std::none_of(cells.begin(), cells.end(), [](const CCell& cell) {
                return cell.kind == LiteralKind::Inline && cell.written != L"DEFAULT";
            });
        step.sql = text();
        return true;
    }
    std::string& cached = shapes.Text(table, rows);
    if (cached.empty()) {
        cached = text();
    }
    step.sql = cached;
    return true;
}

// The rows of `run` with its own columns, DEFAULT for what a row lacks.
bool RowsByRun(const std::vector<CHeldStatement>& held, const CHeldRowRun& run, CPqStep& step)
{
    if ((run.end - run.begin) * run.columns.size() > kMaxParams) {
        return false;
    }
    std::vector<CCell> cells;
    bool plain = true;
    for (size_t r = run.begin; r < run.end; ++r) {
        const RowValues& values = held[r].values;
        for (size_t c = 0; c < run.columns.size(); ++c) {
            const size_t k = FindColumn(values, c, run.columns[c]);
            if (k == values.size()) {
                cells.push_back(CCell{LiteralKind::Inline, L"DEFAULT"});
            } else {
                AddCell(step, cells, values[k].second, plain);
                if (cells.back().kind == LiteralKind::Inline) {
                    // An expression makes the text unlike any other: not kept.
                    step.prepare = false;
                }
            }
        }
    }
    step.sql = InsertText(held[run.begin].table, run.columns, cells);
    return true;
}

}  // namespace

bool BuildSteps(std::vector<CHeldStatement>& held,
                CTableShapes* shapes,
                std::vector<CPqStep>& steps)
{
    steps.clear();
    InsertsAsRows(held);
    // Settings in a row go as one statement: one execution for all.
    bool afterSetting = false;
    for (const CHeldPiece& piece : CutHeld(held)) {
        CPqStep step;
        const bool wasSetting = std::exchange(afterSetting, false);
        if (!piece.IsRows()) {
            const CHeldStatement& statement = held[piece.statement];
            std::wstring_view single;
            if (!SingleStatement(statement.sql, single)) {
                return false;
            }
            // Without digits or quotes the text does not change from hand to
            // hand (BEGIN, COMMIT, a setting ...): worth keeping. Nor does one
            // whose values come apart.
            step.prepare = !statement.params.empty() ||
                           single.find_first_of(L"0123456789'") == std::wstring_view::npos;
            if (const std::optional<std::string> call = LocalSettingCall(single)) {
                afterSetting = true;
                if (wasSetting) {
                    steps.back().sql += ", " + *call;
                    continue;
                }
                step.sql = "SELECT " + *call;
                // The same text from hand to hand.
                step.prepare = true;
            } else {
                step.sql = ToUtf8(single);
            }
            for (const std::wstring& value : statement.params) {
                step.params.push_back(ToUtf8(value));
                step.isNull.push_back(0);
            }
            steps.push_back(std::move(step));
            continue;
        }
        step.prepare = true;
        if (shapes == nullptr || !RowsByShape(held, piece.rows, *shapes, step)) {
            step = CPqStep();
            step.prepare = true;
            if (!RowsByRun(held, piece.rows, step)) {
                return false;
            }
        }
        steps.push_back(std::move(step));
    }
    return true;
}

std::wstring DescribeSteps(const std::vector<CPqStep>& steps)
{
    std::wstring text;
    for (const CPqStep& step : steps) {
        text += FromUtf8(step.sql);
        if (!step.params.empty()) {
            text += L" -- ";
            for (size_t i = 0; i < step.params.size(); ++i) {
                text += i == 0 ? L"" : L", ";
                text += step.isNull[i] != 0 ? L"NULL" : L"'" + FromUtf8(step.params[i]) + L"'";
            }
        }
        text += L";\n";
    }
    return text;
}

}  // namespace kroDB::pq
