// The database options every subcommand accepts: --server --port --name --user
// --password, with the profile's Base values as defaults.
#pragma once

#include "app/core/CDatabaseSettings.h"

#include <string>

struct CCommandLine;
class IProfile;

CDatabaseSettings DatabaseSettingsFromLine(const CCommandLine& line, IProfile& profile);
std::wstring DbOptionsHelp();
