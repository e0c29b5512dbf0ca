// veltrix-cli import: hand-history files and folders into the database.
#pragma once

#include <string>

struct CCommandLine;
class CCliContext;

std::wstring ImportCommandHelp();

// Imports every PATH of the line (positional[1..]); the exit code: 0 when the
// database exists and every file could be read, 1 otherwise, 2 for a usage
// error.
int RunImportCommand(const CCommandLine& line, CCliContext& context);
