// The private X server (with a window manager) that the display's x11
// tests run on, started by their main() before the QApplication.
#pragma once

#include "testing/CXvfbServer.h"

#include <functional>

namespace vxtest {

CXvfbServer& TestServer();

// Runs Qt's events (and `also`, for other event sources) until `done`
// holds or `seconds` pass.
bool PumpUntil(const std::function<bool()>& done,
               const std::function<void()>& also = {},
               double seconds = 5.0);

}  // namespace vxtest
