#include "app/cli/CliMain.h"
#include "app/settings/CQSettingsProfile.h"

#include <clocale>
#include <iostream>
#include <locale>
#include <stdexcept>

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    std::ios_base::sync_with_stdio(false);
    // Names with any letters reach the terminal as UTF-8.
    try {
        const std::locale utf8("C.UTF-8");
        std::wcout.imbue(utf8);
        std::wcerr.imbue(utf8);
    } catch (const std::runtime_error&) {
    }
    CQSettingsProfile profile;
    return RunCli(std::vector<std::string>(argv + 1, argv + argc), std::wcout, std::wcerr, profile);
}
