// What a show message asks a box to say. The text may begin with a markup
// in brackets, "[style=Stats;sizeToContent=Width]": key=value pairs that
// shape the box and are never shown. The rest is one or more lines; a
// statistics line ("Blue 42 30.0 20.0 5.0 0.0": name prefix, hands, VPIP,
// PFR, 3-bet, 4-bet) is taken apart so that each number can be coloured.
// Pure functions; thread-safe.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

struct CHudMarkup
{
    // Whether the text began with a markup at all.
    bool present = false;
    QString style;
    // "sizeToContent=Width": the box is as wide as its text.
    bool sizeToContentWidth = false;
};

struct CStatsLine
{
    QString name;
    int hands = 0;
    // VPIP, PFR, 3-bet, 4-bet as written, and as numbers.
    std::array<QString, 4> texts;
    std::array<double, 4> values{};
};

struct CHudBoxText
{
    CHudMarkup markup;
    // The lines to show: no line breaks, no control characters, each at most
    // kMaxLineLength characters, at most kMaxLines of them.
    QStringList lines;
    // Set when the text is exactly one statistics line.
    std::optional<CStatsLine> stats;

    bool IsEmpty() const { return lines.isEmpty(); }
};

inline constexpr int kMaxLines = 6;
inline constexpr int kMaxLineLength = 120;

CHudBoxText ParseHudBoxText(const QString& text);

// The statistics of a line "<name> <hands> <vpip> <pfr> <3-bet> <4-bet>";
// the name may be empty or hold blanks. Decimal points or commas.
std::optional<CStatsLine> ParseStatsLine(const QString& line);
