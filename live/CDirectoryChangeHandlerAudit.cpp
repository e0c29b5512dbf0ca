#include "live/CDirectoryChangeHandlerAudit.h"

#include "live/CAuditSeating.h"

void CDirectoryChangeHandlerAudit::FileAdded(const std::wstring& path)
{
    m_seating.FileAdded(path);
}

void CDirectoryChangeHandlerAudit::FileRemoved(const std::wstring& path)
{
    m_seating.FileRemoved(path);
}

void CDirectoryChangeHandlerAudit::FileRenamed(const std::wstring& oldPath,
                                               const std::wstring& newPath)
{
    m_seating.FileRenamed(oldPath, newPath);
}

void CDirectoryChangeHandlerAudit::FileModified(const std::wstring& path)
{
    m_seating.FileModified(path);
}
