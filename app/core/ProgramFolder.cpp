#include "app/core/ProgramFolder.h"

#include "foundation/Folders.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <string>
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
    // Another program starting at the same moment must never read the file
    // half-copied (it would know no rooms and no statistics): it appears
    // whole, by a rename, or not at all.
    static std::atomic<unsigned> copies{0};
    const fs::path partial =
        target.string() + ".part" + std::to_string(::getpid()) + "-" + std::to_string(copies++);
    fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        fs::rename(partial, target, ec);
    }
    if (ec) {
        fs::remove(partial, ec);
        return fs::exists(target, ec);
    }
    return true;
}
