#include "app/core/CLogFile.h"

#include "app/core/CAppLogSink.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(CLogFileTest, LinesCarryTheExactTimeStampAndStayUnchanged)
{
    vxtest::CTempDir dir;
    CLogFile log(true);
    ASSERT_TRUE(log.Open(dir.File("Veltrix.log")));
    log.WriteLine(L"Дмитрий joined\n");
    const std::string text = ReadFile(dir.File("Veltrix.log"));
    // dd.mm.yyyy  hh:mm:ss  text
    ASSERT_GE(text.size(), 22u);
    EXPECT_EQ(text[2], '.');
    EXPECT_EQ(text[5], '.');
    EXPECT_EQ(text.substr(10, 2), "  ");
    EXPECT_EQ(text.substr(20, 2), "  ");
    EXPECT_EQ(text.substr(22), "Дмитрий joined\n\n");
}

TEST(CLogFileTest, TimeStampFormat)
{
    std::tm tm{};
    tm.tm_year = 126;
    tm.tm_mon = 11;
    tm.tm_mday = 8;
    tm.tm_hour = 13;
    tm.tm_min = 2;
    tm.tm_sec = 45;
    tm.tm_isdst = -1;
    EXPECT_EQ(CLogFile::TimeStamp(std::mktime(&tm)), L"08.12.2026  13:02:45  ");
}

TEST(CLogFileTest, TraceLinesHaveNoTimeStampAndClosedFilesDropLines)
{
    vxtest::CTempDir dir;
    CLogFile trace(false);
    trace.WriteLine(L"dropped");
    ASSERT_TRUE(trace.Open(dir.File("kroDB_Debug.txt")));
    trace.WriteLine(L"hand#1");
    EXPECT_EQ(ReadFile(dir.File("kroDB_Debug.txt")), "hand#1\n");
    CLogFile failing(true);
    EXPECT_FALSE(failing.Open(dir.File("no/such/folder/Veltrix.log")));
    failing.WriteLine(L"nothing happens");
}

TEST(CLogFileTest, TwoThreadsNeverInterleaveALine)
{
    vxtest::CTempDir dir;
    CLogFile log(true);
    ASSERT_TRUE(log.Open(dir.File("Veltrix.log")));
    CAppLogSink sink(&log, nullptr);
    auto writer = [&sink](char c) {
        for (int i = 0; i < 300; ++i) {
            sink.Log(std::wstring(200, static_cast<wchar_t>(c)));
        }
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    std::istringstream lines(ReadFile(dir.File("Veltrix.log")));
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        const std::string body = line.substr(22);
        EXPECT_TRUE(body == std::string(200, 'a') || body == std::string(200, 'b'));
        ++count;
    }
    EXPECT_EQ(count, 600);
}

TEST(CLogFileTest, BigLogIsTrimmedWhenOpened)
{
    vxtest::CTempDir dir;
    dir.Write("Veltrix.log", std::string(300000, 'x') + "\nkept line\n");
    CLogFile log(true);
    ASSERT_TRUE(log.Open(dir.File("Veltrix.log")));
    EXPECT_LE(ReadFile(dir.File("Veltrix.log")).size(), 80000u);
}
