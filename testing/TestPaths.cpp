#include "testing/TestPaths.h"

#include <filesystem>

namespace vxtest {

std::string TestDataDir()
{
    return VX_TESTDATA_DIR;
}

std::string CorpusDir()
{
    const std::string dir = VX_CORPUS_DIR;
    std::error_code ec;
    if (dir.empty() || !std::filesystem::is_directory(dir, ec)) {
        return std::string();
    }
    return dir;
}

std::string CorpusFile(const std::string& relative)
{
    return CorpusDir() + "/" + relative;
}

}  // namespace vxtest
