#include "app/COutputList.h"

#include "app/COutputWnd.h"
#include "app/tests/CFrameHarness.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTabWidget>

#include <thread>

TEST(COutputWndTest, OpensWithItsThreeTabsAndTheDebugTabActive)
{
    COutputWnd pane;
    EXPECT_EQ(pane.windowTitle(), "Output");
    ASSERT_EQ(pane.Tabs()->count(), 3);
    EXPECT_EQ(pane.Tabs()->tabText(0), "Build");
    EXPECT_EQ(pane.Tabs()->tabText(1), "Debug");
    EXPECT_EQ(pane.Tabs()->tabText(2), "Find");
    EXPECT_EQ(pane.Tabs()->currentWidget(), pane.DebugList());
    EXPECT_EQ(pane.DebugList()->Lines(), QStringList({"Welcome to Veltrix"}));
    EXPECT_EQ(pane.BuildList()->Lines(),
              QStringList({"Build output is being displayed here.",
                           "The output is being displayed in rows of a list view",
                           "but you can change the way it is displayed as you wish..."}));
    EXPECT_EQ(pane.FindList()->Lines().first(), "Find output is being displayed here.");
}

TEST(COutputWndTest, TheThousandAndFirstLineDropsTheWelcomeLine)
{
    COutputWnd pane;
    COutputList* list = pane.DebugList();
    for (int i = 1; i <= 1000; ++i) {
        list->AppendLine(QStringLiteral("line %1").arg(i));
    }
    // The welcome line and 1000 more: 1001 lines, the welcome line first.
    ASSERT_EQ(list->count(), 1001);
    EXPECT_EQ(list->Lines().first(), "Welcome to Veltrix");
    list->AppendLine(QStringLiteral("line 1001"));
    EXPECT_EQ(list->count(), 1001);
    EXPECT_EQ(list->Lines().first(), "line 1");
    EXPECT_EQ(list->Lines().last(), "line 1001");
    for (int i = 0; i < 50; ++i) {
        list->AppendLine(QStringLiteral("more"));
    }
    EXPECT_EQ(list->count(), 1001);
    EXPECT_EQ(list->currentRow(), 1000);
}

TEST(COutputWndTest, OnlyALineThatIsHeroAloneIsDrawnDarkGreen)
{
    EXPECT_EQ(COutputList::LineColor("HERO:"), QColor(0, 100, 0));
    EXPECT_EQ(COutputList::LineColor("hero:"), QColor(0, 100, 0));
    EXPECT_EQ(COutputList::LineColor("HeRo:"), QColor(0, 100, 0));
    EXPECT_EQ(COutputList::LineColor("HERO: Alice"), QColor(Qt::white));
    EXPECT_EQ(COutputList::LineColor(" HERO:"), QColor(Qt::white));
    EXPECT_EQ(COutputList::LineColor("Welcome to Veltrix"), QColor(Qt::white));
    EXPECT_EQ(COutputList::kBackground, QColor(53, 53, 53));
}

TEST(COutputWndTest, CopyPutsTheLinesOnTheClipboardAndClearEmptiesTheList)
{
    COutputWnd pane;
    COutputList* list = pane.DebugList();
    list->AppendLine(QStringLiteral("Hands = 3 is imported"));
    list->OnEditCopy();
    EXPECT_EQ(QApplication::clipboard()->text(), "Welcome to Veltrix\nHands = 3 is imported");
    list->item(0)->setSelected(true);
    list->item(1)->setSelected(true);
    EXPECT_EQ(list->TextToCopy(), "Welcome to Veltrix\nHands = 3 is imported");
    list->OnEditClear();
    EXPECT_EQ(list->count(), 0);
    list->AppendLine(QStringLiteral("after"));
    EXPECT_EQ(list->Lines(), QStringList({"after"}));
}

TEST(COutputWndTest, LinesFromAWorkerArriveThroughTheMainLoopInOrder)
{
    COutputWnd pane;
    std::thread worker([&pane] {
        for (int i = 0; i < 200; ++i) {
            pane.AppendDebugLine(QStringLiteral("worker %1").arg(i));
        }
    });
    worker.join();
    // Nothing is added on the worker itself.
    EXPECT_EQ(pane.DebugList()->count(), 1);
    ASSERT_TRUE(WaitFor([&] { return pane.DebugList()->count() == 201; }));
    const QStringList lines = pane.DebugList()->Lines();
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(lines[i + 1], QStringLiteral("worker %1").arg(i));
    }
}

TEST(COutputWndTest, HideFromTheMenuHidesThePane)
{
    COutputWnd pane;
    pane.show();
    pane.DebugList()->OnViewOutput();
    EXPECT_TRUE(pane.isHidden());
}
