// The command line of veltrix-cli: a subcommand path, options that may stand
// anywhere ("--name value" or "--name=value") and flags.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

struct CCommandLine
{
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    std::set<std::string> flags;

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
    // The option's value, or `fallback` when it was not given.
    std::string Option(const std::string& name, const std::string& fallback = "") const;
    bool HasOption(const std::string& name) const { return options.count(name) != 0; }
};

// Parses `args` (without the program name). Options in `valueOptions` take a
// value, those in `flagOptions` none; "--" ends the options. False with a
// message in `error` for an unknown option or a missing value.
bool ParseCommandLine(const std::vector<std::string>& args,
                      const std::set<std::string>& valueOptions,
                      const std::set<std::string>& flagOptions,
                      CCommandLine& out,
                      std::string& error);
