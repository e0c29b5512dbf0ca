// veltrix-cli equity: every player's share of an all-in pot, computed by the same
// code as the all-in EV of imported hands. Needs no database.
#pragma once

#include <iosfwd>
#include <string>

struct CCommandLine;

// The usage text of the equity command.
std::wstring EquityCommandHelp();

// Runs `line` (positional[0] is "equity", then the hands; options kind, board,
// dead). Prints one line per hand, "CARDS SHARE" with the share in percent to
// four decimals, then "exact N" or "sampled N" for the deals scored. Returns 0,
// or 2 with a one-line message on `err` for bad input.
int RunEquityCommand(const CCommandLine& line, std::wostream& out, std::wostream& err);
