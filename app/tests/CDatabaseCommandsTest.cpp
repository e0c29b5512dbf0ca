#include "app/COutputList.h"
#include "app/COutputWnd.h"
#include "app/CRibbonBar.h"
#include "app/commands/CommandIds.h"
#include "app/tests/CPgFrameFixture.h"
#include "db/DatabaseAdmin.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QToolButton>

class CDatabaseCommandsTest : public CPgFrameFixture
{
protected:
    // The result lines of the log file, in order.
    QStringList LogResults() const
    {
        QStringList results;
        for (const QString& line : QString::fromStdString(m_h->LogText()).split('\n')) {
            if (line.contains("Database ")) {
                results.append(line.mid(line.indexOf("Database ")));
            }
        }
        return results;
    }
};

TEST_F(CDatabaseCommandsTest, CreateAndDeleteShowTheirMessagesThenWriteThePaneAndLog)
{
    MakeFrame();
    CMainFrame& f = m_h->Frame();
    ASSERT_TRUE(f.Dispatch(vxcmd::kCreateDatabase));
    ASSERT_TRUE(f.Dispatch(vxcmd::kCreateDatabase));
    // The second "Create" button does what the first does.
    for (const auto& e : f.Ribbon()->Elements()) {
        if (e.label == "Create HUD cache") {
            qobject_cast<QToolButton*>(e.widget)->click();
        }
    }
    ASSERT_TRUE(f.Dispatch(vxcmd::kDeleteDatabase));
    ASSERT_TRUE(f.Dispatch(vxcmd::kDeleteDatabase));
    const QStringList expected = {"Database was created successfully!",
                                  "Database is already being!", "Database is already being!",
                                  "Database was deleted successfully!", "Database is not found!"};
    EXPECT_EQ(m_h->dialogs.messages, expected);
    EXPECT_EQ(m_h->PaneLines(), expected);
    EXPECT_EQ(LogResults(), expected);
}

TEST_F(CDatabaseCommandsTest, TheEditsAsTypedAreUsedAndEmptyFieldsAreRefused)
{
    MakeFrame([](CMainFrameContext& c) {
        c.profile.WriteProfileString(L"Base", L"NameDB", L"profile_name_not_used");
    });
    CMainFrame& f = m_h->Frame();
    // Typed but not committed: the command takes the edit's text.
    f.Ribbon()->Edit(vxcmd::kDbName)->setText(QString::fromStdString(m_name));
    ASSERT_TRUE(f.Dispatch(vxcmd::kCreateDatabase));
    EXPECT_EQ(m_h->dialogs.messages.last(), "Database was created successfully!");
    kroDB::CDbContext& db = m_h->Db();
    EXPECT_TRUE(kroDB::CheckDatabase(db, m_connect));

    for (const int id : {vxcmd::kServerIp, vxcmd::kPort, vxcmd::kDbName, vxcmd::kDbUser}) {
        QLineEdit* edit = f.Ribbon()->Edit(id);
        const QString kept = edit->text();
        edit->clear();
        m_h->dialogs.messages.clear();
        ASSERT_TRUE(f.Dispatch(vxcmd::kDeleteDatabase));
        ASSERT_TRUE(f.Dispatch(vxcmd::kCreateDatabase));
        EXPECT_EQ(m_h->dialogs.messages, QStringList({"Please fill all the required fields!",
                                                      "Please fill all the required fields!"}));
        edit->setText(kept);
    }
    EXPECT_TRUE(kroDB::CheckDatabase(db, m_connect));
    // Refusals are not logged as results.
    EXPECT_EQ(LogResults(), QStringList({"Database was created successfully!"}));
}

TEST_F(CDatabaseCommandsTest, AnEmptyPasswordIsPassedOnAsIs)
{
    MakeFrame();
    CMainFrame& f = m_h->Frame();
    f.Ribbon()->Edit(vxcmd::kPassword)->clear();
    ASSERT_TRUE(f.Dispatch(vxcmd::kCreateDatabase));
    // The server wants a password, so the login fails (the server's words are
    // shown): a failing connection counts as a missing database, and creating
    // it fails too.
    ASSERT_GE(m_h->dialogs.messages.size(), 2);
    EXPECT_EQ(m_h->dialogs.messages.last(), "Database is not created!");
    EXPECT_TRUE(m_h->Db().MainConnectString().find(L"Pwd=;") != std::wstring::npos);
}
