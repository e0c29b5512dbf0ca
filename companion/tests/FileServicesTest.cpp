#include "companion/FileServices.h"

#include "companion/Privileges.h"
#include "companion/Utf8Strings.h"
#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

TEST(FileServicesTest, LastNameAndExecutablePlace)
{
    EXPECT_EQ(LastName(L"/a/b/HH2023.txt"), L"HH2023.txt");
    EXPECT_EQ(LastName(L"C:\\x\\y.txt"), L"y.txt");
    EXPECT_EQ(LastName(L"plain"), L"plain");
    EXPECT_FALSE(GetExecPath().empty());
    EXPECT_EQ(GetExecPath().rfind(GetExecDir() + "/", 0), 0u);
}

TEST(FileServicesTest, TrimKeepsTheTailFromALineStartAndStaysAppendable)
{
    vxtest::CTempDir dir;
    std::string text;
    for (int i = 0; i < 30000; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    const std::string path = dir.Write("Veltrix.log", text);
    ASSERT_TRUE(TrimLogFile(path, 80000, 200000));
    const auto size = std::filesystem::file_size(path);
    EXPECT_LE(size, 80000u);
    EXPECT_GT(size, 79000u);
    std::ifstream in(path);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first.rfind("line ", 0), 0u);
    dir.Append("Veltrix.log", "more\n");
    EXPECT_EQ(std::filesystem::file_size(path), size + 5);
}

TEST(FileServicesTest, SmallOrMissingFilesAreLeftAlone)
{
    vxtest::CTempDir dir;
    const std::string path = dir.Write("small.log", "abc\n");
    EXPECT_TRUE(TrimLogFile(path, 80000, 200000));
    EXPECT_EQ(std::filesystem::file_size(path), 4u);
    EXPECT_TRUE(TrimLogFile(dir.File("none.log"), 80000, 200000));
}

TEST(FileServicesTest, Utf8CopyIsTerminatedAndSized)
{
    int bytes = 0;
    std::unique_ptr<char[], void (*)(char*)> copy(GetNewUTF8StringFromUnicodeString(L"Zoë😀", bytes),
                                                  FreeUTF8String);
    EXPECT_EQ(bytes, 8);
    EXPECT_EQ(std::string(copy.get()), "Zo\xC3\xAB\xF0\x9F\x98\x80");
}

TEST(FileServicesTest, AdministratorMeansEffectiveRoot)
{
    EXPECT_EQ(IsUserAdmin() != 0, ::geteuid() == 0);
    EXPECT_EQ(IsElevatedProcess(::getpid()) != 0, ::geteuid() == 0);
    EXPECT_EQ(IsElevatedProcess(-5), 0);
}
