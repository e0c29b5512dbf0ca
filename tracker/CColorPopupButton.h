// A colour button: it shows its colour and opens a palette of five columns
// with an automatic choice ("Default") at the top and "Other..." (the colour
// dialog) at the bottom. GUI thread only.
#pragma once

#include <QColor>
#include <QToolButton>

class QMenu;

class CColorPopupButton : public QToolButton
{
    Q_OBJECT

public:
    // `automatic` is the colour "Default" stands for.
    CColorPopupButton(const QColor& automatic, QWidget* parent = nullptr);

    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);
    QColor AutomaticColor() const { return m_automatic; }

    // The palette's colours, row by row (five a row).
    static const QList<QColor>& PaletteColors();
    // The popup, for tests and screenshots.
    QMenu* Popup() const { return m_popup; }

    // Chooses as a click in the popup would: the automatic colour.
    void ChooseAutomatic();
    // Chooses `color` as a click on its swatch would.
    void Choose(const QColor& color);

signals:
    // The user chose a colour; `automatic` when it was "Default".
    void ColorChosen(const QColor& color, bool automatic);

private:
    void UpdateIcon();
    void ChooseOther();

    QColor m_automatic;
    QColor m_color;
    QMenu* m_popup = nullptr;
};
