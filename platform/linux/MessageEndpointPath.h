// Where a receiving program's message endpoint lives, so that sender and
// receiver meet without configuration: $XDG_RUNTIME_DIR/<name> when that
// variable holds an absolute folder, else /tmp/<name>-<uid>. Pure functions
// of the environment; thread-safe as long as nobody changes it meanwhile.
#pragma once

#include <string>

struct sockaddr_un;

// The socket path of endpoint `name`; empty when the name cannot name an
// endpoint (empty, ".", "..", or holding "/" or a NUL character).
std::string MessageEndpointPath(const std::wstring& name);

// Fills `address` with `path` for a Unix-domain socket; false when the path is
// empty or longer than a socket address holds (107 bytes).
[[nodiscard]] bool MakeEndpointAddress(const std::string& path, sockaddr_un& address);
