#include "app/core/ProgramFolder.h"

#include "foundation/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* pw = ::getpwuid(::getuid());
    return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "/tmp";
}

std::string ResolveProgramFolder(const std::string& executableFolder)
{
    const char* env = std::getenv("VELTRIX_HOME");
    if (env != nullptr && *env != '\0') {
        (void)CreateFolderWithParents(env);
        return env;
    }
    if (!executableFolder.empty() && ::access(executableFolder.c_str(), W_OK) == 0) {
        return executableFolder;
    }
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const std::string base = xdg != nullptr && *xdg != '\0' ? xdg : HomeFolder() + "/.local/share";
    const std::string folder = base + "/veltrix";
    (void)CreateFolderWithParents(folder);
    return folder;
}

bool SeedDataFile(const std::string& programFolder,
                  const std::string& shareFolder,
                  const std::string& name)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::path(programFolder) / name;
    if (fs::exists(target, ec)) {
        return true;
    }
    const fs::path source = fs::path(shareFolder) / name;
    if (!fs::exists(source, ec)) {
        return false;
    }
    fs::copy_file(source, target, ec);
    return !ec;
}
