#include "live/ArchiveFiles.h"

#include "foundation/Folders.h"
#include "foundation/ILogSink.h"
#include "foundation/WideText.h"
#include "live/CPokerRoom.h"
#include "live/HistoryFileWalks.h"
#include "platform/IProcessList.h"

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

int ArchiveFiles(const std::vector<std::wstring>& paths,
                 const CPokerRoom& room,
                 IProcessList& processes,
                 ILogSink& log)
{
    namespace fs = std::filesystem;
    for (const auto& path : paths) {
        const std::string source = ToUtf8(path);
        // Linux has no open without sharing: a file is in use while any
        // process holds it open for writing.
        if (!processes.WritersOf(source).empty()) {
            continue;
        }
        const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat st
        {
        };
        std::tm local{};
        const bool dated = ::fstat(fd, &st) == 0 && localtime_r(&st.st_mtim.tv_sec, &local);
        ::close(fd);
        if (!dated) {
            continue;
        }
        const std::wstring target = JoinPath(
            room.workDirectory,
            FormatW(L"%4d/%02d/%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday));
        if (!CreateFolderWithParents(ToUtf8(target))) {
            continue;
        }
        const std::string copy = ToUtf8(JoinPath(target, FileNameOf(path)));
        std::error_code ec;
        if (!fs::copy_file(source, copy, fs::copy_options::overwrite_existing, ec) || ec) {
            continue;
        }
        // The archived copy keeps the date the client wrote it.
        const timespec times[2] = {st.st_atim, st.st_mtim};
        (void)::utimensat(AT_FDCWD, copy.c_str(), times, 0);
        if (!fs::remove(source, ec) || ec) {
            continue;
        }
        const std::wstring text = FormatW(L"Move file %ls to ExportDirectory %ls ", path.c_str(),
                                          room.workDirectory.c_str());
        log.Log(text);
        log.Output(text);
    }
    return 1;
}
