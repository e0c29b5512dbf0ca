// One line of a PokerStars audit file: the table, the game, the stakes and who
// sits where before a hand is played. The client appends one percent-encoded
// UTF-8 line per hand; this file decodes and parses such a line. Pure
// functions apart from ParseAuditLine, which reads the file; thread-compatible.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class ILogSink;

class CAuditFile
{
public:
    virtual ~CAuditFile() = default;

    std::wstring tableName;
    std::wstring handNumber;
    std::wstring format;
    std::wstring game;
    // 1 for "hi-lo=True".
    int32_t hiLo = 0;
    // 0 Omaha, 2 5-card Omaha, 4 Courchevel, plus 1 for hi-lo; -1 for a game
    // the HUD statistics know no kind of (Hold'em, for one).
    int32_t gameKind = 0;
    // 0 USD, 1 EUR, 2 GBP; any other currency text leaves 0.
    int32_t currency = 0;
    // Cents.
    int32_t ante = 0;
    // Cents, or the chips of a play-money table.
    int32_t smallBlind = 0;
    int32_t bigBlind = 0;
    // The button's seat number.
    int32_t button = 0;
    int32_t zoom = 0;
    // 1 when the line names no currency.
    int32_t playMoney = 0;
    int32_t tableSize = 6;
    // Seats whose player has chips.
    int32_t seatedPlayers = 0;
    // The seat of the player named by "user"; 0 when he has no seat with chips.
    int32_t heroSeat = 0;
    // Index 0: the "user" of the line; 1 to 10: the player on that seat, empty
    // for an empty seat or one without chips.
    std::array<std::wstring, 11> names;
};

// The percent decoding of an audit line. "%" and two hexadecimal digits stand
// for one byte ("0"-"9" and "A"-"F" only; any other character counts as 0);
// bytes up to 126 are characters, a lead byte 192-223, 224-239 or 240-247
// takes the bytes of the next one, two or three escapes as one UTF-8
// character. A "%" too close to the end of the line for its escape or its whole
// sequence ends the decoding. Bytes that cannot start or continue a character
// become U+FFFD.
std::wstring DecodeAuditText(const std::wstring& line);

// Fills `record` from the raw (still encoded) line. False, with the line of
// the log that says why, when the line or its seat list has not the expected
// form. `record` should hold the defaults when called.
bool ParseAuditText(const std::wstring& line, CAuditFile& record, ILogSink& log);

// Reads what was appended to the audit file `path` since `readPosition`
// (advanced past the complete lines read) and parses the first new line. False
// when nothing new could be read or the line was not parsed.
bool ParseAuditLine(const std::wstring& path,
                    int64_t& readPosition,
                    CAuditFile& record,
                    ILogSink& log);
