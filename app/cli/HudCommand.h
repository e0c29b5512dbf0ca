// veltrix-cli hud text: the HUD text of one player.
#pragma once

#include <string>

struct CCommandLine;
class CCliContext;

std::wstring HudCommandHelp();

// Prints exactly the HUD text of the player named by the line (nothing when
// it is empty); the exit code: 0 when the database could be read, 1 when it
// does not exist, 2 for a usage error.
int RunHudCommand(const CCommandLine& line, CCliContext& context);
