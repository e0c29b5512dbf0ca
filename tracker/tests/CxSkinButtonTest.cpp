// The image button: which image each state draws and where it takes clicks.
#include "app/widgets/CxSkinButton.h"

#include "tracker/CTrackerArt.h"

#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

QPixmap Filled(const QColor& color)
{
    QPixmap p(20, 20);
    p.fill(color);
    return p;
}

TEST(CxSkinButtonTest, EachStateDrawsItsOwnImage)
{
    CxSkinButton button;
    const QPixmap normal = Filled(Qt::red);
    const QPixmap pressed = Filled(Qt::green);
    const QPixmap hover = Filled(Qt::blue);
    const QPixmap disabled = Filled(Qt::gray);
    button.SetSkin(normal, pressed, hover, disabled);
    button.SetToolTipText(QStringLiteral("Start timer"));
    EXPECT_EQ(button.toolTip(), QStringLiteral("Start timer"));
    EXPECT_EQ(button.size(), QSize(20, 20));
    EXPECT_EQ(button.CurrentImage().cacheKey(), normal.cacheKey());
    button.setDown(true);
    EXPECT_EQ(button.CurrentImage().cacheKey(), pressed.cacheKey());
    button.setDown(false);
    button.setCheckable(true);
    button.setChecked(true);
    EXPECT_EQ(button.CurrentImage().cacheKey(), pressed.cacheKey());
    button.setChecked(false);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(button.CurrentImage().cacheKey(), hover.cacheKey());
    button.setEnabled(false);
    EXPECT_EQ(button.CurrentImage().cacheKey(), disabled.cacheKey());

    // Missing looks fall back to the normal image.
    CxSkinButton plain;
    plain.SetSkin(normal, QPixmap(), QPixmap(), QPixmap());
    plain.setEnabled(false);
    EXPECT_EQ(plain.CurrentImage().cacheKey(), normal.cacheKey());
}

TEST(CxSkinButtonTest, TheMaskDecidesWhereAClickCounts)
{
    QWidget parent;
    auto* button = new CxSkinButton(&parent);
    const auto skin = TrackerArt::ButtonSkin(TrackerArt::Glyph::Start, 22);
    button->SetSkin(skin.normal, skin.pressed, skin.hover, skin.disabled, skin.mask);
    parent.show();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    // The corner lies outside the round shape (QTest reads (0, 0) as "the
    // middle").
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
    EXPECT_EQ(clicks.count(), 1);
    // A disabled button takes no click.
    button->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(11, 11));
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
