#include "platform/fakes/CFakeFileChangeSource.h"

#include <chrono>

int CFakeFileChangeSource::AddTree(const std::string& folder, int& tree)
{
    std::scoped_lock lock(m_mutex);
    const auto failure = m_failures.find(folder);
    if (failure != m_failures.end() && failure->second != 0) {
        return failure->second;
    }
    tree = m_nextTree++;
    m_trees[tree] = folder;
    return 0;
}

void CFakeFileChangeSource::RemoveTree(int tree)
{
    std::scoped_lock lock(m_mutex);
    m_trees.erase(tree);
}

void CFakeFileChangeSource::Wait(std::vector<CFileChange>& out, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    const auto ready = [this] { return !m_batches.empty() || m_interrupted; };
    if (timeoutMs < 0) {
        m_changed.wait(lock, ready);
    } else {
        m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    m_interrupted = false;
    if (!m_batches.empty()) {
        for (auto& change : m_batches.front()) {
            // A tree removed meanwhile reports nothing, as the real source.
            if (change.tree == 0 || m_trees.count(change.tree) != 0) {
                out.push_back(std::move(change));
            }
        }
        m_batches.erase(m_batches.begin());
    }
    m_changed.notify_all();
}

void CFakeFileChangeSource::Interrupt()
{
    std::scoped_lock lock(m_mutex);
    m_interrupted = true;
    m_changed.notify_all();
}

void CFakeFileChangeSource::Queue(std::vector<CFileChange> batch)
{
    std::scoped_lock lock(m_mutex);
    m_batches.push_back(std::move(batch));
    m_changed.notify_all();
}

void CFakeFileChangeSource::FailAddTree(const std::string& folder, int error)
{
    std::scoped_lock lock(m_mutex);
    m_failures[folder] = error;
}

int CFakeFileChangeSource::TreeOf(const std::string& folder) const
{
    std::scoped_lock lock(m_mutex);
    for (const auto& [tree, path] : m_trees) {
        if (path == folder) {
            return tree;
        }
    }
    return 0;
}

std::vector<std::string> CFakeFileChangeSource::Folders() const
{
    std::scoped_lock lock(m_mutex);
    std::vector<std::string> folders;
    for (const auto& [tree, path] : m_trees) {
        folders.push_back(path);
    }
    return folders;
}

bool CFakeFileChangeSource::WaitUntilTaken(int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return m_batches.empty(); });
}
