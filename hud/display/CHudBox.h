// One HUD box: a small frameless window showing one player's statistics
// beside his seat. It never takes the focus and lets every click through to
// the table beneath, except while the player holds the drag modifier: then
// it can be dragged, and a right click opens its menu. Its X window is
// override-redirect, so no window manager frames, moves or raises it; the
// display keeps it right above its table window. GUI thread only.
#pragma once

#include "hud/display/HudBoxText.h"

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class CHudBox : public QWidget
{
public:
    CHudBox(uint64_t tableWindow, int hudNumber, int tableSize, int position);

    uint64_t TableWindow() const { return m_tableWindow; }
    int HudNumber() const { return m_hudNumber; }
    int TableSize() const { return m_tableSize; }
    int Position() const { return m_position; }

    // Takes the text of a show message (markup included) and resizes.
    void SetText(const QString& text);
    const CHudBoxText& Content() const { return m_content; }
    // Whether a show asked for this box and a hide has not taken it back.
    bool IsWanted() const { return m_wanted; }
    void SetWanted(bool wanted) { m_wanted = wanted; }

    void SetColorsEnabled(bool enabled);
    // The height of the text in pixels; the box follows.
    void SetFontPixelSize(int pixels);
    // While true the box takes the mouse; otherwise clicks pass through.
    void SetDraggable(bool draggable);
    bool IsDraggable() const { return m_draggable; }

    // The size the text needs with the current font.
    QSize ContentSize() const;
    QSize sizeHint() const override { return ContentSize(); }

    // After the player dropped the box at a new place (screen pixels).
    std::function<void(CHudBox&)> onMoved;
    // A right click while draggable, at a screen position.
    std::function<void(CHudBox&, const QPoint&)> onMenu;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Face
    {
        Plain,
        Bold,
        Emoji,
    };
    // One piece of a line in its own colour and face.
    struct CPiece
    {
        QString text;
        QColor color;
        Face face = Face::Plain;
    };
    std::vector<CPiece> Pieces(const QString& line) const;
    void AddText(std::vector<CPiece>& pieces,
                 const QString& text,
                 const QColor& color,
                 Face face) const;
    const QFont& FontOf(Face face) const;
    int LineHeight() const;
    void ApplyInputTransparency();

    uint64_t m_tableWindow;
    int m_hudNumber;
    int m_tableSize;
    int m_position;
    CHudBoxText m_content;
    bool m_wanted = false;
    bool m_colors = true;
    bool m_draggable = false;
    QFont m_font;
    QFont m_boldFont;
    QFont m_emojiFont;
    bool m_dragging = false;
    bool m_undraggableAfterDrag = false;
    QPoint m_dragOffset;
};
