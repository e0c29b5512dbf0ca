// The font dialog of the tracker's figures: family, style, size and effects
// (underline, strike-out) with the text colour, as the figure will look.
// GUI thread only.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class CColorPopupButton;
class QLabel;

class CFontColorDialog : public QDialog
{
    Q_OBJECT

public:
    // `background` is the tracker's background, for the sample.
    CFontColorDialog(const QFont& font,
                     const QColor& color,
                     const QColor& background,
                     QWidget* parent = nullptr);

    QFont SelectedFont() const;
    QColor SelectedColor() const;
    void SetSelectedFont(const QFont& font);
    void SetSelectedColor(const QColor& color);

private:
    void UpdateSample();

    QFontDialog* m_fonts = nullptr;
    CColorPopupButton* m_color = nullptr;
    QLabel* m_sample = nullptr;
    QColor m_background;
};
