#include "hud/display/PelmoraOptions.h"

CPelmoraOptions ParsePelmoraOptions(const std::vector<std::string>& arguments,
                                    const std::string& environmentScreenshot)
{
    CPelmoraOptions options;
    options.screenshot = environmentScreenshot;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        // "--name=value" and "--name value" both work for valued options.
        const size_t equals = a.find('=');
        const std::string name =
            a.rfind("--", 0) == 0 && equals != std::string::npos ? a.substr(0, equals) : a;
        auto value = [&](std::string& out) {
            if (equals != std::string::npos && name != a) {
                out = a.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                out = arguments[++i];
            } else {
                options.error = name + " needs a value";
                return;
            }
            if (out.empty()) {
                options.error = name + " needs a value";
            }
        };
        if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (a == "--version") {
            options.version = true;
        } else if (a == "--no-colors" || a == "--no-colours") {
            options.noColors = true;
        } else if (name == "--screenshot") {
            value(options.screenshot);
        } else if (name == "--log") {
            value(options.logFile);
        } else if (a.rfind("-", 0) == 0 && a.size() > 1 && a != "-") {
            options.error = "unknown option " + a;
        } else {
            options.error = "unexpected argument " + a;
        }
        if (!options.error.empty()) {
            break;
        }
    }
    return options;
}

std::string PelmoraHelpText()
{
    return "Usage: pelmora [options]\n"
           "\n"
           "Draws the statistics that Veltrix sends over the poker table windows: one\n"
           "box beside each opponent's seat, following the table when it moves, is\n"
           "minimised, restored or closed. Veltrix starts pelmora by itself; it listens\n"
           "on the endpoint \"Pelmora\" ($XDG_RUNTIME_DIR/Pelmora, else /tmp/Pelmora-<uid>)\n"
           "and reports the PokerStars tables it finds to Veltrix.\n"
           "\n"
           "Clicks on a box go through to the table. Hold Ctrl (the key set as\n"
           "Display/DragModifier) to drag a box to another place, kept for that seat at\n"
           "every table of that size; right-click it then for its menu (colours on or\n"
           "off, put boxes back). Settings: ~/.config/Quendal/Pelmora.conf.\n"
           "\n"
           "Options:\n"
           "  --help              show this text and exit\n"
           "  --version           show the version and exit\n"
           "  --no-colors         show every number in one colour for this run\n"
           "  --log FILE          also append the log lines to FILE\n"
           "  --screenshot FILE   when the shutdown message comes, save a PNG picture\n"
           "                      of the whole screen to FILE before exiting (also\n"
           "                      $PELMORA_SCREENSHOT)\n";
}
