#include "hud/display/CHudBox.h"

#include "hud/display/StatColors.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int kPaddingX = 4;
constexpr int kPaddingY = 2;
// A box without "sizeToContent=Width" is this many average characters wide.
constexpr int kFixedWidthChars = 22;

bool IsEmojiCodePoint(char32_t c)
{
    return (c >= 0x1F000 && c <= 0x1FAFF) ||
           (c >= 0x2600 && c <= 0x27BF && c != 0x2660 && c != 0x2663 && c != 0x2665 && c != 0x2666);
}

// Joiners, variation selectors, skin tones and tags continue an emoji.
bool ContinuesEmoji(char32_t c)
{
    return c == 0x200D || c == 0xFE0F || (c >= 0x1F3FB && c <= 0x1F3FF) ||
           (c >= 0xE0020 && c <= 0xE007F);
}

// The colour emoji face, where one is installed.
QString EmojiFamily()
{
    static const QString family = [] {
        QString found;
        for (const QString& f : QFontDatabase::families()) {
            if (f.contains(QLatin1String("Emoji"), Qt::CaseInsensitive)) {
                if (f.contains(QLatin1String("Color"), Qt::CaseInsensitive)) {
                    return f;
                }
                found = f;
            }
        }
        return found;
    }();
    return family;
}

}  // namespace

CHudBox::CHudBox(uint64_t tableWindow, int hudNumber, int tableSize, int position)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                  Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput)
    , m_tableWindow(tableWindow)
    , m_hudNumber(hudNumber)
    , m_tableSize(tableSize)
    , m_position(position)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("Pelmora HUD"));
    SetFontPixelSize(12);
}

void CHudBox::SetText(const QString& text)
{
    m_content = ParseHudBoxText(text);
    resize(ContentSize());
    update();
}

void CHudBox::SetColorsEnabled(bool enabled)
{
    if (m_colors != enabled) {
        m_colors = enabled;
        update();
    }
}

void CHudBox::SetFontPixelSize(int pixels)
{
    // A condensed sans face keeps a whole line narrow; faces the system
    // lacks fall back to the default sans, and every glyph a face lacks
    // (Chinese, emoji) comes from the fonts that have it.
    m_font = QFont(QStringLiteral("DejaVu Sans"));
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setStretch(QFont::SemiCondensed);
    m_font.setPixelSize(std::clamp(pixels, 7, 40));
    m_boldFont = m_font;
    m_boldFont.setBold(true);
    // The text face has black-and-white faces for some emoji; the colour
    // ones read better, so emoji are drawn with the emoji face.
    m_emojiFont = m_font;
    if (!EmojiFamily().isEmpty()) {
        m_emojiFont.setFamily(EmojiFamily());
        m_emojiFont.setStretch(QFont::Unstretched);
    }
    resize(ContentSize());
    update();
}

void CHudBox::SetDraggable(bool draggable)
{
    // A drag under way ends with the button, not with the modifier key.
    m_undraggableAfterDrag = m_dragging && !draggable;
    if (m_draggable == draggable || m_undraggableAfterDrag) {
        return;
    }
    m_draggable = draggable;
    setCursor(draggable ? Qt::SizeAllCursor : Qt::ArrowCursor);
    ApplyInputTransparency();
}

void CHudBox::ApplyInputTransparency()
{
    // Changed on the native window directly: changing a widget's flags would
    // hide and re-create it.
    if (QWindow* window = windowHandle()) {
        window->setFlag(Qt::WindowTransparentForInput, !m_draggable);
    } else {
        setWindowFlag(Qt::WindowTransparentForInput, !m_draggable);
    }
}

void CHudBox::AddText(std::vector<CPiece>& pieces,
                      const QString& text,
                      const QColor& color,
                      Face face) const
{
    // Emoji runs get the emoji face; everything else keeps `face`.
    QString run;
    bool runIsEmoji = false;
    const auto flush = [&] {
        if (!run.isEmpty()) {
            pieces.push_back({run, color, runIsEmoji ? Face::Emoji : face});
            run.clear();
        }
    };
    const QList<uint> codePoints = text.toUcs4();
    for (const uint c : codePoints) {
        const auto cp = static_cast<char32_t>(c);
        const bool emoji = IsEmojiCodePoint(cp) || (runIsEmoji && ContinuesEmoji(cp));
        if (emoji != runIsEmoji) {
            flush();
            runIsEmoji = emoji;
        }
        run += QString::fromUcs4(&cp, 1);
    }
    flush();
}

std::vector<CHudBox::CPiece> CHudBox::Pieces(const QString& line) const
{
    std::vector<CPiece> pieces;
    if (!m_content.stats || m_content.lines.size() != 1) {
        AddText(pieces, line, StatColors::PlainNumber(), Face::Plain);
        return pieces;
    }
    const CStatsLine& s = *m_content.stats;
    if (!s.name.isEmpty()) {
        AddText(pieces, s.name + QLatin1Char(' '), StatColors::NameText(), Face::Plain);
    }
    pieces.push_back({QString::number(s.hands),
                      m_colors ? StatColors::Hands(s.hands) : StatColors::PlainNumber(),
                      Face::Bold});
    for (size_t i = 0; i < 4; ++i) {
        const QColor color = m_colors ? StatColors::ForValue(static_cast<HudStat>(i), s.values[i])
                                      : StatColors::PlainNumber();
        pieces.push_back({QLatin1Char(' ') + s.texts[i], color, Face::Bold});
    }
    return pieces;
}

const QFont& CHudBox::FontOf(Face face) const
{
    switch (face) {
    case Face::Bold:
        return m_boldFont;
    case Face::Emoji:
        return m_emojiFont;
    case Face::Plain:
        break;
    }
    return m_font;
}

int CHudBox::LineHeight() const
{
    int height = 0;
    for (const Face face : {Face::Plain, Face::Bold, Face::Emoji}) {
        height = std::max(height, QFontMetrics(FontOf(face)).height());
    }
    return height;
}

QSize CHudBox::ContentSize() const
{
    int width = 0;
    for (const QString& line : m_content.lines) {
        int lineWidth = 0;
        for (const CPiece& piece : Pieces(line)) {
            lineWidth += QFontMetrics(FontOf(piece.face)).horizontalAdvance(piece.text);
        }
        width = std::max(width, lineWidth);
    }
    if (!m_content.markup.sizeToContentWidth) {
        width = std::max(width, QFontMetrics(m_font).averageCharWidth() * kFixedWidthChars);
    }
    const int lines = std::max<int>(1, static_cast<int>(m_content.lines.size()));
    const int height = LineHeight() * lines;
    return {width + 2 * kPaddingX, height + 2 * kPaddingY};
}

void CHudBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), StatColors::Background());
    painter.setPen(StatColors::Border());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    // One baseline for every face of a line.
    const int lineHeight = LineHeight();
    const int ascent =
        QFontMetrics(m_font).ascent() + (lineHeight - QFontMetrics(m_font).height()) / 2;
    int y = kPaddingY;
    for (const QString& line : m_content.lines) {
        int x = kPaddingX;
        for (const CPiece& piece : Pieces(line)) {
            painter.setFont(FontOf(piece.face));
            painter.setPen(piece.color);
            const QFontMetrics metrics(FontOf(piece.face));
            painter.drawText(QPoint(x, y + ascent), piece.text);
            x += metrics.horizontalAdvance(piece.text);
        }
        y += lineHeight;
    }
}

void CHudBox::mousePressEvent(QMouseEvent* event)
{
    if (!m_draggable) {
        event->ignore();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - pos();
    } else if (event->button() == Qt::RightButton && onMenu) {
        onMenu(*this, event->globalPosition().toPoint());
    }
}

void CHudBox::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging) {
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
}

void CHudBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_dragging && event->button() == Qt::LeftButton) {
        m_dragging = false;
        if (m_undraggableAfterDrag) {
            m_undraggableAfterDrag = false;
            SetDraggable(false);
        }
        if (onMoved) {
            onMoved(*this);
        }
    }
}
