// Paths the tests read: our synthetic test data and the clients' corpus.
// The corpus is looked for in $VELTRIX_CORPUS first, then in the folder found
// beside the checkout when the build was configured (../shared/corpus).
#pragma once

#include <string>

namespace vxtest {

// The repository's testdata folder.
std::string TestDataDir();

// A file of the synthetic hand histories: testdata/handhistories/<relative>.
std::string HandHistoryFile(const std::string& relative);

// The folder of real hand-history files, or empty when it is not there.
std::string CorpusDir();

// A file of the corpus by its path inside the corpus folder.
std::string CorpusFile(const std::string& relative);

// Where the corpus is looked for, for messages: "$VELTRIX_CORPUS (unset) or
// /path/../shared/corpus".
std::string CorpusSearchText();

// Counts a corpus test skipped for want of the corpus; the test program prints
// one line with the count and the places searched when it ends.
void NoteCorpusSkip();

// Skips the calling test with a reason when the corpus is absent.
#define VX_REQUIRE_CORPUS()                                                               \
    do {                                                                                  \
        if (::vxtest::CorpusDir().empty()) {                                              \
            ::vxtest::NoteCorpusSkip();                                                   \
            GTEST_SKIP() << "no hand-history corpus in " << ::vxtest::CorpusSearchText(); \
        }                                                                                 \
    } while (0)

}  // namespace vxtest
