#include "live/SystemErrorText.h"

#include "foundation/WideText.h"

#include <cerrno>
#include <cstring>

std::wstring SystemErrorText(uint32_t code)
{
    switch (code) {
    case 0:
        return L"The operation completed successfully.";
    case kErrorInvalidParameter:
        return L"The parameter is incorrect.";
    case kErrorBadPathName:
        return L"The specified path is invalid.";
    case kErrorOutOfMemory:
        return L"Not enough memory resources are available to complete this operation.";
    case kErrorNoMoreThreads:
        return L"No more threads can be created in the system.";
    case kErrorNotifyEnumDir:
        return L"Changes were lost because too many happened at once; the folder is still "
               L"watched and must be looked at anew.";
    case ENOSPC:
        // inotify's limit, not the disk: the message must say which.
        return L"The system's limit of watched folders is reached "
               L"(fs.inotify.max_user_watches).";
    default:
        break;
    }
    char buffer[256] = {};
    const char* text = ::strerror_r(static_cast<int>(code), buffer, sizeof buffer);
    return FromUtf8(text != nullptr ? text : "Unknown error");
}
