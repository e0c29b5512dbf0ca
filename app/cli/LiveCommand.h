// veltrix-cli live: the rooms' folders watched and what the clients append
// imported, with the session figures printed, until a signal or a time limit.
#pragma once

#include <string>

struct CCommandLine;
class CCliContext;

std::wstring LiveCommandHelp();
int RunLiveCommand(const CCommandLine& line, CCliContext& context);
