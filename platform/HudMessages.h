// The byte layouts exchanged between the tracker and the HUD display program:
// the show, hide, reset and shutdown messages the tracker sends, the 20-byte
// table report the HUD program sends back, and the numbering of HUD boxes by
// table size and position. Both programs use this one codec, so the layouts
// cannot drift apart. Pure functions; thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Commands of the messages to the HUD program.
enum class HudCommand : int32_t
{
    Show = 1,
    Hide = 2,
    Reset = 6,
    Shutdown = 7,
};

// The 8-byte packet tag (the message identifier) of each direction. The HUD
// program must not rely on the tag of what it receives; the tracker accepts
// table reports only with kTableReportTag.
inline constexpr uint64_t kHudMessageTag = 1;
inline constexpr uint64_t kTableReportTag = 3;

// The value field of show and hide messages.
inline constexpr int32_t kHudValue = 1000;

// The markup in front of every statistics text of a show message.
inline constexpr const wchar_t* kHudStatsMarkup = L"[style=Stats;sizeToContent=Width]";

struct CHudMessage
{
    // The X11 id of the poker table window; 0 for reset and shutdown.
    uint64_t tableWindow = 0;
    int32_t value = 0;
    // The box (HudNumber); -1 for reset and shutdown.
    int32_t hudNumber = -1;
    HudCommand command = HudCommand::Reset;
    // UTF-16 code units, markup included, without terminator.
    std::u16string text;

    bool operator==(const CHudMessage&) const = default;
};

// The message as the HUD program receives it: a 28-byte little-endian header
// (window 8, value 4, HUD number 4, command 4, text length in bytes 4,
// reserved 4), the UTF-16 text and one zero byte; 29 + 2 x characters bytes.
std::vector<uint8_t> EncodeHudMessage(const CHudMessage& message);

// The message of `bytes`, or nothing when they are no well-formed message:
// shorter than 29 bytes, a text length that is odd, negative or does not
// match the size, a missing terminator, or an unknown command.
std::optional<CHudMessage> DecodeHudMessage(std::span<const uint8_t> bytes);

// The four messages the tracker sends.
CHudMessage MakeShowMessage(uint64_t tableWindow, int32_t hudNumber, const std::wstring& text);
CHudMessage MakeHideMessage(uint64_t tableWindow, int32_t hudNumber);
CHudMessage MakeResetMessage();
CHudMessage MakeShutdownMessage();

// Wide text (UTF-32) to UTF-16 and back; characters beyond the BMP become
// surrogate pairs, unpaired surrogates U+FFFD.
std::u16string ToUtf16(const std::wstring& text);
std::wstring FromUtf16(const std::u16string& text);

// What the HUD program reports about a table window.
enum class TableReportCommand : uint8_t
{
    // A table window the HUD program has not reported before.
    NewTable = 6,
    // A table window it reported already.
    KnownTable = 4,
};

struct CTableReport
{
    // The window id as 32 bits; the receiver extends it with its sign.
    uint32_t tableWindow = 0;
    // 6 or 4 as sent; other values are only logged by the receiver.
    uint8_t command = 0;
    // The room number of the table's room (1 for PokerStars).
    uint8_t room = 0;
    uint8_t type = 0;

    bool operator==(const CTableReport&) const = default;
};

inline constexpr size_t kTableReportSize = 20;

// Window 4 bytes little-endian, command 1, unused 2, room 1, type 1, unused 11.
std::array<uint8_t, kTableReportSize> EncodeTableReport(const CTableReport& report);
// The report, or nothing when `bytes` is not exactly 20 bytes long.
std::optional<CTableReport> DecodeTableReport(std::span<const uint8_t> bytes);

// The window handle of a report: the 32-bit id extended with its sign.
uint64_t TableReportWindow(const CTableReport& report);

// The first box number of tables of `tableSize` seats: n x (n - 1) / 2 - 1
// (0, 2, 5, 9, 14, 20, 27, 35, 44 for 2 to 10 seats, 54 for 11).
int HudNumberBase(int tableSize);
// 100 + base(n) + p. Requires: 2 <= tableSize <= 11, 0 <= position < tableSize.
int HudNumber(int tableSize, int position);
// The table size and position of box `hudNumber`; false for a number that
// belongs to no table size from 2 to 10.
[[nodiscard]] bool HudNumberSeat(int hudNumber, int& tableSize, int& position);
