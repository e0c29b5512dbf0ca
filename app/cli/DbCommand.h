// veltrix-cli db create|check|drop|upgrade.
#pragma once

#include <string>

struct CCommandLine;
class CCliContext;

// The usage text of the db command.
std::wstring DbCommandHelp();

// Runs the db subcommand of `line` (positional[0] is "db"); returns the exit
// code: 0 on success ("already being" counts as success for create), 1 on
// failure, 2 for a usage error.
int RunDbCommand(const CCommandLine& line, CCliContext& context);
