// veltrix-cli import: hand-history files and folders into the database, a thin
// front over the manual import of the application core.
#pragma once

#include <string>

struct CCommandLine;
class CCliContext;

std::wstring ImportCommandHelp();

// Imports every PATH of the line (positional[1..]). The exit code: 0 when every
// hand was stored, found already stored or knowingly left out; 1 when a hand
// failed, a file could not be read or imported (the database stayed away, or
// the import was interrupted) or the database does not exist; 2 for a usage
// error.
int RunImportCommand(const CCommandLine& line, CCliContext& context);
