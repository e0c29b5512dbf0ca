#include "parser/FileFingerprint.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

using namespace kroHandParser;

TEST(FileFingerprintTest, AFileIsUnchangedOnlyWhileItHoldsTheSameBytes)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write("HH1.txt", "PokerStars Hand #1\r\n\r\n");
    const CFileFingerprint print = FileFingerprint(path);
    EXPECT_EQ(print.size, 22);
    EXPECT_TRUE(FileUnchanged(path, print.size, print.crc));

    // Grown: the first bytes are the same, the size is not.
    dir.Append("HH1.txt", "PokerStars Hand #2\r\n");
    EXPECT_FALSE(FileUnchanged(path, print.size, print.crc));
    EXPECT_EQ(FileFingerprint(path, print.size).crc, print.crc);

    // Another file of the same size.
    dir.Write("HH1.txt", "PokerStars Hand #3\r\n\r\n");
    EXPECT_FALSE(FileUnchanged(path, print.size, print.crc));

    // Nothing recorded, a missing file, a prefix longer than the file.
    EXPECT_FALSE(FileUnchanged(path, -1, 0));
    EXPECT_FALSE(FileUnchanged(dir.File("gone.txt"), print.size, print.crc));
    EXPECT_EQ(FileFingerprint(path, 1000).size, -1);
    EXPECT_EQ(FileFingerprint(dir.File("gone.txt")).size, -1);
}
