// A push button drawn from images: one each for the normal, pressed, hover and
// disabled looks, an optional mask that gives the button its shape (only the
// mask's set pixels draw and take clicks), and a tooltip. The images are
// scaled to the button's size when they differ from it. GUI thread only.
#pragma once

#include <QAbstractButton>
#include <QBitmap>
#include <QPixmap>
#include <QRegion>

class CxSkinButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit CxSkinButton(QWidget* parent = nullptr);

    // The four looks and the shape. A null `pressed`, `hover` or `disabled`
    // image falls back to `normal`; a null mask makes the whole rectangle the
    // button. The button takes the normal image's size.
    void SetSkin(const QPixmap& normal,
                 const QPixmap& pressed,
                 const QPixmap& hover,
                 const QPixmap& disabled,
                 const QBitmap& mask = QBitmap());
    void SetToolTipText(const QString& text) { setToolTip(text); }

    // The image the button draws in its current state.
    const QPixmap& CurrentImage() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void UpdateMask();
    QRegion ShapeAtSize() const;

    QPixmap m_normal;
    QPixmap m_pressed;
    QPixmap m_hover;
    QPixmap m_disabled;
    QBitmap m_mask;
    bool m_hovered = false;
};
