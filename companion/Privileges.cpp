#include "companion/Privileges.h"

#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

int IsUserAdmin()
{
    return ::geteuid() == 0 ? 1 : 0;
}

int IsElevatedProcess(int pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Uid:", 0) == 0) {
            std::istringstream fields(line.substr(4));
            long real = -1;
            long effective = -1;
            fields >> real >> effective;
            return effective == 0 ? 1 : 0;
        }
    }
    return 0;
}
