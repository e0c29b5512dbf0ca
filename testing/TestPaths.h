// Paths the tests read: our synthetic test data and the clients' corpus.
#pragma once

#include <string>

namespace vxtest {

// The repository's testdata folder.
std::string TestDataDir();

// The folder of real hand-history files, or empty when this checkout has none.
std::string CorpusDir();

// A file of the corpus by its path inside the corpus folder.
std::string CorpusFile(const std::string& relative);

// Skips the calling test with a reason when the corpus is absent.
#define VX_REQUIRE_CORPUS()                                                  \
    do {                                                                     \
        if (::vxtest::CorpusDir().empty()) {                                 \
            GTEST_SKIP() << "the hand-history corpus folder is not present"; \
        }                                                                    \
    } while (0)

}  // namespace vxtest
