#include "platform/HudMessages.h"

#include <cstring>

namespace {

constexpr size_t kHeaderSize = 28;

void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

uint64_t GetLe(std::span<const uint8_t> bytes, size_t offset, int count)
{
    uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[offset + static_cast<size_t>(i)];
    }
    return value;
}

int32_t GetInt32(std::span<const uint8_t> bytes, size_t offset)
{
    return static_cast<int32_t>(static_cast<uint32_t>(GetLe(bytes, offset, 4)));
}

bool KnownCommand(int32_t command)
{
    switch (static_cast<HudCommand>(command)) {
    case HudCommand::Show:
    case HudCommand::Hide:
    case HudCommand::Reset:
    case HudCommand::Shutdown:
        return true;
    }
    return false;
}

}  // namespace

std::vector<uint8_t> EncodeHudMessage(const CHudMessage& message)
{
    std::vector<uint8_t> out;
    const size_t textBytes = message.text.size() * 2;
    out.reserve(kHeaderSize + textBytes + 1);
    PutLe(out, message.tableWindow, 8);
    PutLe(out, static_cast<uint32_t>(message.value), 4);
    PutLe(out, static_cast<uint32_t>(message.hudNumber), 4);
    PutLe(out, static_cast<uint32_t>(message.command), 4);
    PutLe(out, static_cast<uint32_t>(textBytes), 4);
    PutLe(out, 0, 4);
    for (const char16_t unit : message.text) {
        PutLe(out, unit, 2);
    }
    out.push_back(0);
    return out;
}

std::optional<CHudMessage> DecodeHudMessage(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize + 1) {
        return std::nullopt;
    }
    const int32_t textBytes = GetInt32(bytes, 20);
    if (textBytes < 0 || textBytes % 2 != 0 ||
        bytes.size() != kHeaderSize + static_cast<size_t>(textBytes) + 1 || bytes.back() != 0) {
        return std::nullopt;
    }
    const int32_t command = GetInt32(bytes, 16);
    if (!KnownCommand(command)) {
        return std::nullopt;
    }
    CHudMessage message;
    message.tableWindow = GetLe(bytes, 0, 8);
    message.value = GetInt32(bytes, 8);
    message.hudNumber = GetInt32(bytes, 12);
    message.command = static_cast<HudCommand>(command);
    message.text.reserve(static_cast<size_t>(textBytes) / 2);
    for (size_t i = 0; i < static_cast<size_t>(textBytes); i += 2) {
        message.text.push_back(static_cast<char16_t>(GetLe(bytes, kHeaderSize + i, 2)));
    }
    return message;
}

CHudMessage MakeShowMessage(uint64_t tableWindow, int32_t hudNumber, const std::wstring& text)
{
    CHudMessage message;
    message.tableWindow = tableWindow;
    message.value = kHudValue;
    message.hudNumber = hudNumber;
    message.command = HudCommand::Show;
    message.text = ToUtf16(text);
    return message;
}

CHudMessage MakeHideMessage(uint64_t tableWindow, int32_t hudNumber)
{
    CHudMessage message;
    message.tableWindow = tableWindow;
    message.value = kHudValue;
    message.hudNumber = hudNumber;
    message.command = HudCommand::Hide;
    return message;
}

CHudMessage MakeResetMessage()
{
    return CHudMessage{};
}

CHudMessage MakeShutdownMessage()
{
    CHudMessage message;
    message.command = HudCommand::Shutdown;
    return message;
}

std::u16string ToUtf16(const std::wstring& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        const auto cp = static_cast<uint32_t>(c);
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            out.push_back(u'\uFFFD');
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char16_t>(cp));
        } else if (cp <= 0x10FFFF) {
            const uint32_t v = cp - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            out.push_back(u'\uFFFD');
        }
    }
    return out;
}

std::wstring FromUtf16(const std::u16string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            const uint32_t low = text[++i];
            out.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out.push_back(L'\uFFFD');
        } else {
            out.push_back(static_cast<wchar_t>(unit));
        }
    }
    return out;
}

std::array<uint8_t, kTableReportSize> EncodeTableReport(const CTableReport& report)
{
    std::array<uint8_t, kTableReportSize> out{};
    for (size_t i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(report.tableWindow >> (8 * i));
    }
    out[4] = report.command;
    out[7] = report.room;
    out[8] = report.type;
    return out;
}

std::optional<CTableReport> DecodeTableReport(std::span<const uint8_t> bytes)
{
    if (bytes.size() != kTableReportSize) {
        return std::nullopt;
    }
    CTableReport report;
    report.tableWindow = static_cast<uint32_t>(GetLe(bytes, 0, 4));
    report.command = bytes[4];
    report.room = bytes[7];
    report.type = bytes[8];
    return report;
}

uint64_t TableReportWindow(const CTableReport& report)
{
    return static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(report.tableWindow)));
}

int HudNumberBase(int tableSize)
{
    return tableSize * (tableSize - 1) / 2 - 1;
}

int HudNumber(int tableSize, int position)
{
    return 100 + HudNumberBase(tableSize) + position;
}

bool HudNumberSeat(int hudNumber, int& tableSize, int& position)
{
    for (int n = 2; n <= 10; ++n) {
        const int first = HudNumber(n, 0);
        if (hudNumber >= first && hudNumber < first + n) {
            tableSize = n;
            position = hudNumber - first;
            return true;
        }
    }
    return false;
}
