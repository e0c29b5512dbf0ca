// A change source driven by the test: it reports the changes the test queues,
// and AddTree answers with the result the test chose. Thread-safe, so that a
// test can queue changes while the watcher's worker waits.
#pragma once

#include "platform/IFileChangeSource.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class CFakeFileChangeSource : public IFileChangeSource
{
public:
    int AddTree(const std::string& folder, int& tree) override;
    void RemoveTree(int tree) override;
    void Wait(std::vector<CFileChange>& out, int timeoutMs) override;
    void Interrupt() override;

    // The next Wait returns these changes as one batch.
    void Queue(std::vector<CFileChange> batch);
    // AddTree of `folder` fails with `error` (0 lets it succeed again).
    void FailAddTree(const std::string& folder, int error);
    // The tree id given to `folder`, 0 when it is not watched.
    int TreeOf(const std::string& folder) const;
    // Folders watched now.
    std::vector<std::string> Folders() const;
    // Waits (up to `timeoutMs`) until every queued batch was taken.
    bool WaitUntilTaken(int timeoutMs) const;

private:
    // Guards everything below.
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<std::vector<CFileChange>> m_batches;
    std::map<std::string, int> m_failures;
    std::map<int, std::string> m_trees;
    int m_nextTree = 1;
    bool m_interrupted = false;
};
