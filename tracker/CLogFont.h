// The logical font of one tracker figure, with every field the stored font
// record carries, so that fields this program does not use survive a round
// trip. Plain value; Qt-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct CLogFont
{
    int32_t height = -16;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = 400;
    uint8_t italic = 0;
    uint8_t underline = 0;
    uint8_t strikeOut = 0;
    uint8_t charSet = 0;
    uint8_t outPrecision = 0;
    uint8_t clipPrecision = 0;
    uint8_t quality = 0;
    uint8_t pitchAndFamily = 32;
    std::wstring faceName = L"Times New Roman";

    bool operator==(const CLogFont&) const = default;

    // The record text: thirteen hexadecimal numbers and the face name, joined
    // by ",". The 32-bit fields are written as their two's complement, so a
    // height of -16 reads "fffffff0".
    std::wstring ToRecord() const;

    // The font of a record; nothing when the text does not hold all fourteen
    // fields (a face name is required). The face name is the whole rest of
    // the text after its leading blanks, so names with blanks survive.
    static std::optional<CLogFont> FromRecord(const std::wstring& text);

    // FromRecord, or the default font for a missing, empty or damaged record.
    static CLogFont FromRecordOrDefault(const std::wstring& text);
};
