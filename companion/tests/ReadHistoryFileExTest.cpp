#include "companion/ReadHistoryFileEx.h"

#include "testing/CTempDir.h"
#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::vector<std::wstring> ReadAll(const std::string& path, int64_t* endPos = nullptr)
{
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    EXPECT_EQ(ReadHistoryFileEx(path, pos, lines), kReadOk);
    if (endPos) {
        *endPos = pos;
    }
    return lines;
}

std::string Utf16Le(const std::u16string& text)
{
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

}  // namespace

TEST(ReadHistoryFileExTest, Utf8WithMarkAndMixedLineEndings)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write("a.txt", "\xEF\xBB\xBFone\r\ntwo\nthree\rfour\r\n\r\nsix");
    int64_t end = 0;
    const auto lines = ReadAll(path, &end);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"one", L"two", L"three", L"four", L"", L"six"}));
    EXPECT_EQ(end, static_cast<int64_t>(std::filesystem::file_size(path)));
}

TEST(ReadHistoryFileExTest, Utf16BothByteOrders)
{
    vxtest::CTempDir dir;
    const auto le = ReadAll(dir.Write("le.txt", Utf16Le(u"Seat 1: Дима\r\nok\r\n")));
    EXPECT_EQ(le, (std::vector<std::wstring>{L"Seat 1: Дима", L"ok"}));
    std::string be = "\xFE\xFF";
    for (char16_t c : std::u16string(u"x\ny")) {
        be += static_cast<char>(c >> 8);
        be += static_cast<char>(c & 0xFF);
    }
    EXPECT_EQ(ReadAll(dir.Write("be.txt", be)), (std::vector<std::wstring>{L"x", L"y"}));
}

TEST(ReadHistoryFileExTest, InvalidUtf8IsReadAsWindows1252NotDropped)
{
    vxtest::CTempDir dir;
    const auto lines = ReadAll(dir.Write("eur.txt",
                                         "won (\x80"
                                         "12.50)\n"));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"won (\u20AC12.50)"}));
}

TEST(ReadHistoryFileExTest, EmptyAndMissingFiles)
{
    vxtest::CTempDir dir;
    EXPECT_TRUE(ReadAll(dir.Write("empty.txt", "")).empty());
    EXPECT_TRUE(ReadAll(dir.Write("bom.txt", "\xEF\xBB\xBF")).empty());
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    EXPECT_EQ(ReadHistoryFileEx(dir.File("none.txt"), pos, lines), kReadCannotOpen);
}

TEST(ReadHistoryFileExTest, ReadsOnlyWhatFollowsThePositionAndAdvancesIt)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write("live.txt", "\xEF\xBB\xBFhand 1\r\n");
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines), kReadOk);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"hand 1"}));
    dir.Append("live.txt", "hand 2\r\n");
    lines.clear();
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines), kReadOk);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"hand 2"}));
    lines.clear();
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines), kReadOk);
    EXPECT_TRUE(lines.empty());
}

TEST(ReadHistoryFileExTest, CrLfSplitBetweenTwoReadsGivesNoEmptyLine)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write("split.txt", "a\r");
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines), kReadOk);
    dir.Append("split.txt", "\nb\r\n");
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines), kReadOk);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"a", L"b"}));
}

TEST(ReadHistoryFileExTest, CompleteLinesOnlyHoldsBackAnUnfinishedLine)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write("w.txt", "done\r\nhalf");
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines, true), kReadOk);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"done"}));
    EXPECT_EQ(pos, 6);
    dir.Append("w.txt", " line\r\n");
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines, true), kReadOk);
    EXPECT_EQ(lines.back(), L"half line");
}

TEST(ReadHistoryFileExTest, PositionBeyondTheEndIsReported)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write("shrunk.txt", "abc\n");
    int64_t pos = 100;
    std::vector<std::wstring> lines;
    EXPECT_EQ(ReadHistoryFileEx(path, pos, lines), kReadPositionBeyondEnd);
    EXPECT_EQ(pos, 100);
}

TEST(ReadHistoryFileExTest, TenMegabyteSingleLine)
{
    vxtest::CTempDir dir;
    const auto lines = ReadAll(dir.Write("big.txt", std::string(10 * 1024 * 1024, 'x')));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 10u * 1024 * 1024);
}

TEST(ReadHistoryFileExTest, CorpusFilesOfEveryEncodingGiveTheirHandHeaders)
{
    VX_REQUIRE_CORPUS();
    // UTF-16 LE with CR LF, and cp1252 bytes in an otherwise ASCII file.
    const std::string pkng =
        vxtest::CorpusDir() + "/pkng/PLO-USD-2.50-5.00-201505.no.hero.HH00000000 G0.txt";
    const auto lines = ReadAll(pkng);
    ASSERT_FALSE(lines.empty());
    size_t starts = 0;
    for (const auto& l : lines) {
        starts += l.rfind(L"Game started at:", 0) == 0 ? 1 : 0;
        EXPECT_EQ(l.find(L'\r'), std::wstring::npos);
    }
    EXPECT_GT(starts, 0u);
    const auto rit =
        ReadAll(vxtest::CorpusDir() + "/pokerstars/NLHE-6max-EUR-1.00-2.00-201212.RunItTwice.txt");
    bool euro = false;
    for (const auto& l : rit) {
        euro = euro || l.find(L'\u20AC') != std::wstring::npos;
    }
    EXPECT_TRUE(euro);
}

// Reading only the head of a file: complete lines within the limit, a line
// cut by it (even inside a UTF-8 character) held back for the next read.
TEST(ReadHistoryFileExTest, AByteLimitDeliversOnlyTheCompleteLinesWithinIt)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Path() + "/head.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << "\xEF\xBB\xBF"
            << "first\r\nsecond \xC3\xA9t\xC3\xA9\nthird\n";
    }
    int64_t pos = 0;
    std::vector<std::wstring> lines;
    // The mark, "first\r\n" and "second \xC3" of the second line.
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines, true, 7 + 8), kReadOk);
    EXPECT_EQ(lines, std::vector<std::wstring>({L"first"}));
    EXPECT_EQ(pos, 3 + 7);
    ASSERT_EQ(ReadHistoryFileEx(path, pos, lines, true), kReadOk);
    EXPECT_EQ(lines, std::vector<std::wstring>({L"first", L"second \u00e9t\u00e9", L"third"}));
}
