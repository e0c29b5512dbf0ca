#include "platform/linux/MessageEndpointPath.h"

#include "foundation/WideText.h"

#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

std::string MessageEndpointPath(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L".." || name.find(L'/') != std::wstring::npos ||
        name.find(L'\0') != std::wstring::npos) {
        return {};
    }
    const std::string file = ToUtf8(name);
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        std::string folder = runtime;
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        return folder == "/" ? "/" + file : folder + "/" + file;
    }
    return "/tmp/" + file + "-" + std::to_string(::getuid());
}

bool MakeEndpointAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}
