// The error numbers of the directory watcher and their texts for the log. The
// watcher's own numbers keep the values the program has always used; the rest
// are errno values of the system.
#pragma once

#include <cstdint>
#include <string>

inline constexpr uint32_t kErrorInvalidParameter = 87;
inline constexpr uint32_t kErrorBadPathName = 161;
inline constexpr uint32_t kErrorOutOfMemory = 14;
inline constexpr uint32_t kErrorNoMoreThreads = 164;
// Changes were lost (the system's change queue overflowed); the folder is
// still watched, and a handler that must not miss a file looks at them anew.
inline constexpr uint32_t kErrorNotifyEnumDir = 1022;

// A sentence for `code`: fixed texts for the numbers above and for 0, the
// system's text (strerror) for errno values.
std::wstring SystemErrorText(uint32_t code);
