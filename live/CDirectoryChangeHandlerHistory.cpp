#include "live/CDirectoryChangeHandlerHistory.h"

#include "live/CLiveTracking.h"
#include "live/SystemErrorText.h"

void CDirectoryChangeHandlerHistory::FileAdded(const std::wstring& path)
{
    m_live.HistoryFileAdded(path);
}

void CDirectoryChangeHandlerHistory::FileRemoved(const std::wstring& path)
{
    m_live.HistoryFileRemoved(path);
}

void CDirectoryChangeHandlerHistory::FileRenamed(const std::wstring& oldPath,
                                                 const std::wstring& newPath)
{
    m_live.HistoryFileRenamed(oldPath, newPath);
}

void CDirectoryChangeHandlerHistory::FileModified(const std::wstring& path)
{
    m_live.HistoryFileModified(path);
}

void CDirectoryChangeHandlerHistory::WatchError(uint32_t errorCode, const std::wstring& folder)
{
    if (errorCode == kErrorNotifyEnumDir) {
        m_live.HistoryChangesLost(folder);
    }
}
