#include "hud/display/CHudDisplay.h"

#include "hud/display/HudLayout.h"
#include "platform/fakes/CFakeWindowTracker.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

constexpr uint64_t kTable = 0x3a00007;
constexpr uint64_t kOtherTable = 0x3c00011;
const std::wstring kMarkup = L"[style=Stats;sizeToContent=Width]";

CTrackedWindow At(int x, int y, int width = 792, int height = 546, bool viewable = true)
{
    CTrackedWindow state;
    state.exists = true;
    state.viewable = viewable;
    state.x = x;
    state.y = y;
    state.width = width;
    state.height = height;
    return state;
}

class CHudDisplayTest : public ::testing::Test
{
protected:
    CHudDisplayTest()
        : m_settings(QString::fromStdString(m_dir.File("Pelmora.conf")))
        , m_display(m_tracker, m_settings, [this](const QString& line) { m_log.append(line); })
    {
        m_tracker.windows[kTable] = At(100, 50);
        m_tracker.windows[kOtherTable] = At(950, 50);
    }

    CHudDisplay::Outcome Send(const CHudMessage& message)
    {
        const auto bytes = EncodeHudMessage(message);
        return m_display.HandlePacket(bytes);
    }
    void Show(uint64_t window, int hud, const std::wstring& stats)
    {
        EXPECT_EQ(Send(MakeShowMessage(window, hud, kMarkup + stats)),
                  CHudDisplay::Outcome::Handled);
    }
    std::vector<CHudBox*> VisibleBoxes() const
    {
        std::vector<CHudBox*> visible;
        for (CHudBox* box : m_display.Boxes()) {
            if (box->isVisible()) {
                visible.push_back(box);
            }
        }
        return visible;
    }

    vxtest::CTempDir m_dir;
    CFakeWindowTracker m_tracker;
    CHudSettings m_settings;
    QStringList m_log;
    CHudDisplay m_display;
};

}  // namespace

TEST_F(CHudDisplayTest, SixShowsAndOneHideLeaveFiveBoxesEachBesideItsSeat)
{
    const wchar_t* players[] = {L"Blue 42 30.0 20.0 5.0 0.0\n", L"Ann 1200 24.1 18.0 6.2 1.5\n",
                                L"Kurt 88 55.3 6.1 2.0 0.0\n",  L"Mia 310 28.0 22.4 9.1 3.3\n",
                                L"Olaf 15 40.0 10.0 0.0 0.0\n", L"Pia 640 19.5 15.0 4.4 2.0\n"};
    for (int p = 0; p < 6; ++p) {
        Show(kTable, HudNumber(6, p), players[p]);
    }
    Send(MakeHideMessage(kTable, HudNumber(6, 3)));
    ASSERT_EQ(VisibleBoxes().size(), 5u);
    EXPECT_EQ(m_display.Box(kTable, HudNumber(6, 3)), nullptr);
    const QRect table(100, 50, 792, 546);
    for (CHudBox* box : VisibleBoxes()) {
        EXPECT_EQ(box->geometry(),
                  HudLayout::DefaultBox(table, 6, box->Position(), box->ContentSize()));
        EXPECT_TRUE(table.contains(box->geometry()));
        EXPECT_FALSE(
            box->geometry().intersects(HudLayout::ToPixels(HudLayout::MiddleFraction(), table)));
        EXPECT_TRUE(box->Content().markup.sizeToContentWidth);
        EXPECT_FALSE(box->Content().lines.front().contains(QLatin1Char('[')));
    }
    // Every shown box went right above its table.
    ASSERT_FALSE(m_tracker.stackedAbove.empty());
    EXPECT_EQ(m_tracker.stackedAbove.back().second, kTable);
    // A later show updates the box in place.
    CHudBox* blue = m_display.Box(kTable, HudNumber(6, 0));
    Show(kTable, HudNumber(6, 0), L"Blue 43 31.0 20.0 5.0 0.0\n");
    EXPECT_EQ(m_display.Box(kTable, HudNumber(6, 0)), blue);
    EXPECT_EQ(blue->Content().stats->hands, 43);
}

TEST_F(CHudDisplayTest, MessagesThatMakeNoSenseAreLoggedAndIgnored)
{
    auto bytes = EncodeHudMessage(MakeShowMessage(kTable, 114, L"x"));
    bytes.pop_back();
    EXPECT_EQ(m_display.HandlePacket(bytes), CHudDisplay::Outcome::Ignored);
    const std::vector<uint8_t> garbage = {1, 2, 3};
    EXPECT_EQ(m_display.HandlePacket(garbage), CHudDisplay::Outcome::Ignored);
    EXPECT_EQ(m_display.HandlePacket({}), CHudDisplay::Outcome::Ignored);
    Show(0, 114, L"Blue 42 30.0 20.0 5.0 0.0\n");
    Show(kTable, 99, L"Blue 42 30.0 20.0 5.0 0.0\n");
    Show(kTable, 154, L"Blue 42 30.0 20.0 5.0 0.0\n");
    Show(0x5000001, 114, L"Blue 42 30.0 20.0 5.0 0.0\n");
    EXPECT_TRUE(m_display.Boxes().empty());
    EXPECT_EQ(m_display.TableCount(), 0u);
    EXPECT_EQ(m_log.size(), 7);
    // A hide for a box never shown does nothing at all.
    Send(MakeHideMessage(kTable, 114));
    EXPECT_TRUE(m_display.Boxes().empty());
    // The markup alone (nothing known of the player) shows no box.
    Show(kTable, 114, L"");
    EXPECT_TRUE(VisibleBoxes().empty());
}

TEST_F(CHudDisplayTest, ResetRemovesEveryBoxAndShutdownIsLeftToTheProgram)
{
    Show(kTable, 114, L"Blue 42 30.0 20.0 5.0 0.0\n");
    Show(kOtherTable, 145, L"Ann 1200 24.1 18.0 6.2 1.5\n");
    EXPECT_EQ(m_tracker.watched.size(), 2u);
    EXPECT_EQ(Send(MakeResetMessage()), CHudDisplay::Outcome::Handled);
    EXPECT_TRUE(m_display.Boxes().empty());
    EXPECT_TRUE(m_tracker.watched.empty());
    EXPECT_EQ(Send(MakeShutdownMessage()), CHudDisplay::Outcome::Shutdown);
    // Hiding the last box of a table stops following it.
    Show(kTable, 114, L"Blue 42 30.0 20.0 5.0 0.0\n");
    Send(MakeHideMessage(kTable, 114));
    EXPECT_TRUE(m_tracker.watched.empty());
}

TEST_F(CHudDisplayTest, BoxesFollowTheirTableWindow)
{
    Show(kTable, HudNumber(9, 4), L"Blue 42 30.0 20.0 5.0 0.0\n");
    Show(kTable, HudNumber(9, 7), L"Ann 1200 24.1 18.0 6.2 1.5\n");
    CHudBox* box = m_display.Box(kTable, HudNumber(9, 4));
    ASSERT_NE(box, nullptr);
    const QPoint before = box->pos();

    m_tracker.Set(kTable, At(400, 300));
    EXPECT_EQ(box->pos(), before + QPoint(300, 250));
    const size_t restacks = m_tracker.stackedAbove.size();

    m_tracker.Set(kTable, At(400, 300, 1584, 1092));
    EXPECT_EQ(box->geometry(),
              HudLayout::DefaultBox(QRect(400, 300, 1584, 1092), 9, 4, box->ContentSize()));
    // The text grows with the table.
    EXPECT_GT(box->height(), 20);
    EXPECT_GT(m_tracker.stackedAbove.size(), restacks);

    m_tracker.Set(kTable, At(400, 300, 1584, 1092, false));
    EXPECT_TRUE(VisibleBoxes().empty());
    m_tracker.Set(kTable, At(400, 300, 1584, 1092, true));
    EXPECT_EQ(VisibleBoxes().size(), 2u);

    CTrackedWindow gone;
    m_tracker.Set(kTable, gone);
    EXPECT_TRUE(m_display.Boxes().empty());
    EXPECT_EQ(m_display.TableCount(), 0u);
    // A show for the dead window is ignored, not a crash.
    m_tracker.windows.erase(kTable);
    Show(kTable, HudNumber(9, 4), L"Blue 42 30.0 20.0 5.0 0.0\n");
    EXPECT_TRUE(m_display.Boxes().empty());
}

TEST_F(CHudDisplayTest, ABoxThePlayerMovedKeepsItsPlaceForThatSeatAtEveryTableAndAfterARestart)
{
    Show(kTable, HudNumber(6, 2), L"Blue 42 30.0 20.0 5.0 0.0\n");
    Show(kOtherTable, HudNumber(6, 2), L"Ann 1200 24.1 18.0 6.2 1.5\n");
    Show(kOtherTable, HudNumber(6, 3), L"Kurt 88 55.3 6.1 2.0 0.0\n");
    CHudBox* dragged = m_display.Box(kTable, HudNumber(6, 2));
    const QPoint otherSeat = m_display.Box(kOtherTable, HudNumber(6, 3))->pos();

    m_display.SetDraggable(true);
    EXPECT_TRUE(dragged->IsDraggable());
    dragged->move(100 + 396, 50 + 273);  // the middle of the table
    dragged->onMoved(*dragged);
    m_display.SetDraggable(false);
    EXPECT_FALSE(dragged->IsDraggable());

    // The same seat at the other table went to the same share of its window.
    EXPECT_EQ(m_display.Box(kOtherTable, HudNumber(6, 2))->pos(), QPoint(950 + 396, 50 + 273));
    EXPECT_EQ(m_display.Box(kOtherTable, HudNumber(6, 3))->pos(), otherSeat);
    // Kept in the settings file, and read by the next run.
    CHudSettings reread(QString::fromStdString(m_dir.File("Pelmora.conf")));
    ASSERT_TRUE(reread.Placement(6, 2).has_value());
    EXPECT_NEAR(reread.Placement(6, 2)->x(), 0.5, 1e-3);
    EXPECT_NEAR(reread.Placement(6, 2)->y(), 0.5, 1e-3);
    EXPECT_FALSE(reread.Placement(6, 3).has_value());

    m_settings.ClearPlacement(6, 2);
    m_display.ApplyPlacement(6, 2);
    EXPECT_EQ(dragged->geometry(),
              HudLayout::DefaultBox(QRect(100, 50, 792, 546), 6, 2, dragged->ContentSize()));
}

TEST_F(CHudDisplayTest, ColoursCanBeSwitchedOffAndTheChoiceIsKept)
{
    EXPECT_TRUE(m_settings.ColorsEnabled());
    Show(kTable, 114, L"Blue 42 30.0 20.0 5.0 0.0\n");
    m_display.SetColorsEnabled(false);
    EXPECT_FALSE(m_display.ColorsEnabled());
    m_settings.SetColorsEnabled(false);
    m_settings.Sync();
    CHudSettings reread(QString::fromStdString(m_dir.File("Pelmora.conf")));
    EXPECT_FALSE(reread.ColorsEnabled());
}

TEST(CHudSettingsTest, ADamagedSettingsFileGivesTheDefaults)
{
    vxtest::CTempDir dir;
    dir.Write("Pelmora.conf",
              "[Display]\nFontPixelSize=huge\nDragModifier=Hyper\n"
              "[Placement]\n6-1=abc\n6-2=\"0.5, nan\"\n6-3=\"9, 9\"\n6-4=\"0.25, 0.75\"\n");
    CHudSettings settings(QString::fromStdString(dir.File("Pelmora.conf")));
    EXPECT_EQ(settings.FontPixelSize(), 12);
    EXPECT_EQ(settings.DragModifier(), Qt::ControlModifier);
    EXPECT_FALSE(settings.Placement(6, 1).has_value());
    EXPECT_FALSE(settings.Placement(6, 2).has_value());
    EXPECT_FALSE(settings.Placement(6, 3).has_value());
    ASSERT_TRUE(settings.Placement(6, 4).has_value());
    EXPECT_DOUBLE_EQ(settings.Placement(6, 4)->y(), 0.75);
}
