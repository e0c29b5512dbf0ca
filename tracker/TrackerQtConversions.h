// Between the tracker's stored forms and Qt's: Windows colour values (red in
// the low byte) and logical fonts. GUI thread only (QFont).
#pragma once

#include "tracker/CLogFont.h"

#include <QColor>
#include <QFont>

#include <cstdint>

// Red from the low byte, then green, then blue; the top byte is ignored.
QColor ColorFromRef(int32_t value);
// The colour value of `color`: red | green << 8 | blue << 16.
int32_t RefFromColor(const QColor& color);

// The Qt font of a logical font: a negative height is the character height in
// pixels, a positive one the cell height; weight 0 means normal.
QFont FontFromLog(const CLogFont& font);
// The logical font of `font`, keeping the fields Qt has no word for (width,
// escapement, character set, precision, quality, pitch) from `base`.
CLogFont LogFromFont(const QFont& font, const CLogFont& base);
