#include "testing/TestPaths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace vxtest {

namespace {

std::atomic<int> g_corpusSkips{0};

// Prints the number of corpus tests skipped once the test program ends, so
// that a checkout without the corpus says so in one line.
class CCorpusSkipReport : public ::testing::EmptyTestEventListener
{
public:
    void OnTestProgramEnd(const ::testing::UnitTest&) override
    {
        const int skipped = g_corpusSkips.load();
        if (skipped > 0) {
            std::printf("[ CORPUS   ] %d corpus test%s skipped: no hand-history corpus in %s\n",
                        skipped, skipped == 1 ? "" : "s", CorpusSearchText().c_str());
            std::fflush(stdout);
        }
    }
};

// Registered when the first corpus question is asked, before any test ends.
void RegisterReport()
{
    static const bool registered = [] {
        ::testing::UnitTest::GetInstance()->listeners().Append(new CCorpusSkipReport);
        return true;
    }();
    (void)registered;
}

bool IsFolder(const std::string& dir)
{
    std::error_code ec;
    return !dir.empty() && std::filesystem::is_directory(dir, ec);
}

std::string ConfiguredCorpus()
{
    return VX_CORPUS_DIR;
}

std::string DefaultCorpus()
{
    return VX_DEFAULT_CORPUS_DIR;
}

}  // namespace

std::string TestDataDir()
{
    return VX_TESTDATA_DIR;
}

std::string HandHistoryFile(const std::string& relative)
{
    return TestDataDir() + "/handhistories/" + relative;
}

std::string CorpusDir()
{
    RegisterReport();
    const char* fromEnvironment = std::getenv("VELTRIX_CORPUS");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return IsFolder(fromEnvironment) ? std::string(fromEnvironment) : std::string();
    }
    const std::string configured = ConfiguredCorpus();
    return IsFolder(configured) ? configured : std::string();
}

std::string CorpusFile(const std::string& relative)
{
    return CorpusDir() + "/" + relative;
}

std::string CorpusSearchText()
{
    const char* fromEnvironment = std::getenv("VELTRIX_CORPUS");
    std::string text = "$VELTRIX_CORPUS (";
    text += fromEnvironment != nullptr && *fromEnvironment != '\0' ? fromEnvironment : "unset";
    text += ") or ";
    text += ConfiguredCorpus().empty() ? DefaultCorpus() : ConfiguredCorpus();
    return text;
}

void NoteCorpusSkip()
{
    RegisterReport();
    ++g_corpusSkips;
}

}  // namespace vxtest
