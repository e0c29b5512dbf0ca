// The command ids of the main window: ribbon elements, the Style menu, the
// application menu and the quick access toolbar. The numbers are fixed: the
// ribbon and the profile keys are known by them.
#pragma once

namespace vxcmd {

// Home
inline constexpr int kOutputWnd = 149;
inline constexpr int kRoraRevir = 1363;
inline constexpr int kHomeRoomList = 32811;
inline constexpr int kNickEdit = 32812;
// Database
inline constexpr int kServerIp = 32806;
inline constexpr int kPort = 32807;
inline constexpr int kDbName = 32808;
inline constexpr int kDbUser = 32802;
inline constexpr int kPassword = 32809;
inline constexpr int kCreateDatabase = 32805;
inline constexpr int kDeleteDatabase = 32827;
inline constexpr int kHudCacheMonths = 32830;
// Hand Importing
inline constexpr int kImportRoomList = 32814;
inline constexpr int kImportFiles = 32824;
inline constexpr int kImportFolder1 = 32822;
inline constexpr int kImportFolder2 = 32823;
inline constexpr int kArchiveOn = 2000;
inline constexpr int kHhUnicode = 2001;
inline constexpr int kHhUtf8 = 2002;
inline constexpr int kHhZip = 2003;
inline constexpr int kAutoAlias = 32831;
// HUD
inline constexpr int kStart = 32800;
inline constexpr int kHudOptions = 32797;
// Application menu, Style menu, About, quick access toolbar
inline constexpr int kAppExit = 57665;
inline constexpr int kAppAbout = 57664;
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 57603;
inline constexpr int kFilePrintDirect = 57608;
inline constexpr int kLookBlue = 215;
inline constexpr int kLookBlack = 216;
inline constexpr int kLookSilver = 217;
inline constexpr int kLookAqua = 218;
inline constexpr int kLookWindows7 = 219;
// Output pane context menu
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditClear = 57632;

// The main frame's timer that brings the session tracker back.
inline constexpr int kTrackerTimer = 44;
inline constexpr int kTrackerTimerMs = 2000;

// Images of the "Start" button.
inline constexpr int kStartImage = 8;
inline constexpr int kStopImage = 9;

}  // namespace vxcmd
