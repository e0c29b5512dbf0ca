// UTF-8 copies of wide text for callers that need bytes (the SQLite layer).
#pragma once

#include "companion/OstrandExport.h"

#include <string>

// A new zero-terminated UTF-8 copy of `text`; `bytes` receives its length
// without the terminator. The caller frees it with FreeUTF8String.
VX_COMPANION_EXPORT char* GetNewUTF8StringFromUnicodeString(const std::wstring& text, int& bytes);

VX_COMPANION_EXPORT void FreeUTF8String(char* text);
