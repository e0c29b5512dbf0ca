// The data files seeded into the program's folder from the installed share
// folder: a program starting beside another that is seeding them never reads
// one half-copied (it would know no rooms and import nothing).
#include "app/core/ProgramFolder.h"

#include "testing/CTempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

TEST(ProgramFolderTest, ASeededFileIsSeenWholeOrNotAtAll)
{
    vxtest::CTempDir share;
    // Large enough that a copy takes several writes.
    const std::string text(8 << 20, 'x');
    (void)share.Write("predeftypes.json", text);
    for (int round = 0; round < 20; ++round) {
        vxtest::CTempDir home;
        const std::string target = home.File("predeftypes.json");
        std::atomic<bool> done{false};
        std::atomic<int> partial{0};
        std::thread reader([&] {
            while (!done) {
                std::error_code ec;
                if (std::filesystem::exists(target, ec)) {
                    const auto size = std::filesystem::file_size(target, ec);
                    if (!ec && size != text.size()) {
                        ++partial;
                    }
                }
            }
        });
        std::thread other(
            [&] { EXPECT_TRUE(SeedDataFile(home.Path(), share.Path(), "predeftypes.json")); });
        EXPECT_TRUE(SeedDataFile(home.Path(), share.Path(), "predeftypes.json"));
        other.join();
        done = true;
        reader.join();
        EXPECT_EQ(partial, 0) << "round " << round;
        EXPECT_EQ(std::filesystem::file_size(target), text.size());
        // Nothing of the copies is left beside it.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.Path()),
                                std::filesystem::directory_iterator()),
                  1);
    }
}
