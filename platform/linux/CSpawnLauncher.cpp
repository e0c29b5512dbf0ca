#include "platform/linux/CSpawnLauncher.h"

#include "foundation/WideText.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

// Frees the spawn attributes and file actions on every path.
struct CSpawnSetup
{
    CSpawnSetup()
    {
        okAttributes = ::posix_spawnattr_init(&attributes) == 0;
        okActions = ::posix_spawn_file_actions_init(&actions) == 0;
    }
    ~CSpawnSetup()
    {
        if (okAttributes) {
            ::posix_spawnattr_destroy(&attributes);
        }
        if (okActions) {
            ::posix_spawn_file_actions_destroy(&actions);
        }
    }
    CSpawnSetup(const CSpawnSetup&) = delete;
    CSpawnSetup& operator=(const CSpawnSetup&) = delete;

    posix_spawnattr_t attributes{};
    posix_spawn_file_actions_t actions{};
    bool okAttributes = false;
    bool okActions = false;
};

std::wstring ErrorText(int error)
{
    return FromUtf8(std::strerror(error));
}

}  // namespace

CStatus CSpawnLauncher::Launch(const std::string& path, const std::string& workingFolder, int* pid)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return CStatus::NotFound(L"no program " + FromUtf8(path));
    }
    CSpawnSetup setup;
    if (!setup.okAttributes || !setup.okActions) {
        return CStatus::IoError(L"cannot prepare the start of " + FromUtf8(path));
    }
    int error = ::posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSID);
    if (error == 0 && !workingFolder.empty()) {
        error = ::posix_spawn_file_actions_addchdir_np(&setup.actions, workingFolder.c_str());
    }
    if (error == 0) {
        error = ::posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
    }
    pid_t child = 0;
    std::string program = path;
    char* argv[] = {program.data(), nullptr};
    if (error == 0) {
        error =
            ::posix_spawn(&child, path.c_str(), &setup.actions, &setup.attributes, argv, environ);
    }
    if (error != 0) {
        return CStatus::IoError(L"cannot start " + FromUtf8(path) + L": " + ErrorText(error));
    }
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    if (pid != nullptr) {
        *pid = static_cast<int>(child);
    }
    return CStatus::Ok();
}
