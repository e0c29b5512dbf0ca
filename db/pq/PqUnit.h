// A unit's held statements as statements of PostgreSQL's extended protocol:
// the SQL literals of new rows become parameters, so that rows of the same
// shape share one prepared statement and the server parses and plans it once
// per connection.
#pragma once

#include "db/HeldStatements.h"

#include <string>
#include <string_view>
#include <vector>

namespace kroDB::pq {

struct CPqStep
{
    std::string sql;  // UTF-8, "$n" for each parameter
    // Worth preparing: its text repeats from hand to hand.
    bool prepare = false;
    std::vector<std::string> params;
    std::vector<char> isNull;
};

// How an SQL literal travels.
enum class LiteralKind
{
    Param,    // as a parameter of unknown type, like a quoted literal
    Numeric,  // as a parameter cast to numeric, like a literal with a decimal point
    Null,     // as a null parameter
    Inline,   // as written, in the statement text (DEFAULT, expressions)
};
// The kind of `literal` and, for parameters, the value the server reads.
LiteralKind ClassifyLiteral(std::wstring_view literal, std::string& value);

class CTableShapes;

// The steps of the held list, in order; new rows of a table whose shape
// `shapes` knows go with all its grown columns. False when a statement cannot travel
// as one extended-protocol statement (it holds several) or a run of rows would
// need more parameters than the protocol allows; the unit then goes as text.
// Plain literal inserts among `held` are turned into rows on the way.
bool BuildSteps(std::vector<CHeldStatement>& held,
                CTableShapes* shapes,
                std::vector<CPqStep>& steps);

// The steps as text with their parameters, for the log of a failure.
std::wstring DescribeSteps(const std::vector<CPqStep>& steps);

}  // namespace kroDB::pq
