#include "foundation/Folders.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(FoldersTest, CreatesParentsAndAcceptsExistingFolder)
{
    vxtest::CTempDir dir;
    const std::string deep = dir.File("a/b/c/");
    EXPECT_TRUE(CreateFolderWithParents(deep));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("a/b/c")));
    EXPECT_TRUE(CreateFolderWithParents(deep));
}

TEST(FoldersTest, FailsWhenAFileIsInTheWay)
{
    vxtest::CTempDir dir;
    dir.Write("file", "x");
    EXPECT_FALSE(CreateFolderWithParents(dir.File("file/sub")));
    EXPECT_FALSE(CreateFolderWithParents(dir.File("file")));
    EXPECT_FALSE(CreateFolderWithParents(""));
}
