#include "tracker/TrackerQtConversions.h"

#include <QFontInfo>

#include <algorithm>
#include <cmath>

QColor ColorFromRef(int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int32_t RefFromColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<int32_t>(static_cast<uint32_t>(rgb.red()) |
                                (static_cast<uint32_t>(rgb.green()) << 8) |
                                (static_cast<uint32_t>(rgb.blue()) << 16));
}

QFont FontFromLog(const CLogFont& log)
{
    QFont font(QString::fromStdWString(log.faceName));
    int pixels = 16;
    if (log.height < 0) {
        pixels = log.height == INT32_MIN ? 16 : -log.height;
    } else if (log.height > 0) {
        // A cell height holds the internal leading too; the em is about 80%.
        pixels = std::max(1, static_cast<int>(std::lround(log.height * 0.8)));
    }
    font.setPixelSize(std::clamp(pixels, 1, 400));
    const int weight = log.weight <= 0 ? 400 : std::clamp(static_cast<int>(log.weight), 1, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(log.italic != 0);
    font.setUnderline(log.underline != 0);
    font.setStrikeOut(log.strikeOut != 0);
    return font;
}

CLogFont LogFromFont(const QFont& font, const CLogFont& base)
{
    CLogFont log = base;
    int pixels = font.pixelSize();
    if (pixels <= 0) {
        pixels = QFontInfo(font).pixelSize();
    }
    log.height = -std::max(1, pixels);
    log.weight = font.weight();
    log.italic = font.italic() ? 1 : 0;
    log.underline = font.underline() ? 1 : 0;
    log.strikeOut = font.strikeOut() ? 1 : 0;
    log.faceName = font.family().toStdWString();
    return log;
}
