// What a server's five-character SQLSTATE means to the callers of a unit.
#pragma once

#include "foundation/CStatus.h"

#include <string_view>

// Conflict: another writer holds or stored the same rows (the unit may be
// tried again); Unavailable: the server went away, refused the connection or
// is starting or stopping; DatabaseError otherwise.
CStatus::Code CodeOfSqlState(std::wstring_view state);
