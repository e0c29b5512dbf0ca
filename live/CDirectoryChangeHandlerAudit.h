// The handler of the watched PokerStars audit folder: it hands every change
// of an audit file to the audit seating. Main thread only.
#pragma once

#include "live/CDirectoryChangeHandler.h"

class CAuditSeating;

class CDirectoryChangeHandlerAudit : public CDirectoryChangeHandler
{
public:
    // Requires: `seating` outlives every change delivered to this handler.
    explicit CDirectoryChangeHandlerAudit(CAuditSeating& seating)
        : m_seating(seating)
    {}

    void FileAdded(const std::wstring& path) override;
    void FileRemoved(const std::wstring& path) override;
    void FileRenamed(const std::wstring& oldPath, const std::wstring& newPath) override;
    void FileModified(const std::wstring& path) override;

private:
    CAuditSeating& m_seating;
};
