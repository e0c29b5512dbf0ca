#include "benchmarks/BenchCorpus.h"

#include <cstdlib>
#include <filesystem>

namespace vxbench {

std::string CorpusFile(const std::string& relative)
{
    const char* fromEnvironment = std::getenv("VELTRIX_CORPUS");
    const std::string folder = fromEnvironment != nullptr && *fromEnvironment != '\0'
                                   ? std::string(fromEnvironment)
                                   : std::string(VX_CORPUS_DIR);
    return folder + "/" + relative;
}

bool RequireCorpusFile(benchmark::State& state, const std::string& path)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) {
        return true;
    }
    const std::string message =
        "no hand-history corpus: " + path + " is missing (set VELTRIX_CORPUS)";
    state.SkipWithError(message.c_str());
    return false;
}

}  // namespace vxbench
