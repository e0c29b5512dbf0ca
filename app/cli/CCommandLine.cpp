#include "app/cli/CCommandLine.h"

std::string CCommandLine::Option(const std::string& name, const std::string& fallback) const
{
    const auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

bool ParseCommandLine(const std::vector<std::string>& args,
                      const std::set<std::string>& valueOptions,
                      const std::set<std::string>& flagOptions,
                      CCommandLine& out,
                      std::string& error)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            if (arg == "-h") {
                out.flags.insert("help");
                continue;
            }
            out.positional.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::string value;
        bool hasValue = false;
        const size_t eq = name.find('=');
        if (eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (flagOptions.count(name) != 0) {
            if (hasValue) {
                error = "option --" + name + " takes no value";
                return false;
            }
            out.flags.insert(name);
            continue;
        }
        if (valueOptions.count(name) == 0) {
            error = "unknown option --" + name;
            return false;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                error = "option --" + name + " needs a value";
                return false;
            }
            value = args[++i];
        }
        out.options[name] = value;
    }
    return true;
}
