// What a unit holds back until its next round trip: single statements and new
// rows that later changes may still complete. Rows of one table that follow
// each other travel as one insert, whichever way the unit is sent.
#pragma once

#include "db/IConnection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kroDB {

// A statement (table empty) or a new row of `table` whose "id" is `id`. A
// statement may name parameters "$1", "$2", ...: their values are `params`.
struct CHeldStatement
{
    std::wstring sql;
    std::wstring table;
    int64_t id = 0;
    RowValues values;
    std::vector<std::wstring> params;
};

// Rows [begin, end) of the held list, all of one table, with the union of
// their columns in first-seen order. A row lacking a column takes its
// default there, as it would in a row of its own.
struct CHeldRowRun
{
    size_t begin = 0;
    size_t end = 0;
    std::vector<std::wstring> columns;
    // Every row names its values in the order of `columns` (it may stop
    // early): its k-th value belongs to columns[k].
    bool aligned = true;
};

// The held list cut into statements (a run is empty: begin == end, and
// `statement` is the index) and runs of rows, in order.
struct CHeldPiece
{
    size_t statement = 0;
    CHeldRowRun rows;
    bool IsRows() const { return rows.end != rows.begin; }
};
std::vector<CHeldPiece> CutHeld(const std::vector<CHeldStatement>& held);

// The index of `column` in `values`, looked for at `at` first (rows of one
// table mostly carry the same columns in the same order); values.size() when
// absent.
size_t FindColumn(const RowValues& values, size_t at, const std::wstring& column);

// The held list as one SQL text, each statement ended by ";" (parameters
// written in as quoted literals).
std::wstring HeldText(const std::vector<CHeldStatement>& held);

}  // namespace kroDB
