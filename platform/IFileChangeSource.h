// A source of file changes in folder trees (the operating system's change
// notification). It reports changes of files, never of folders: folders are
// followed inside, so that sub-folders made later are watched too.
// Thread rules: AddTree, RemoveTree and Wait are called by one thread (the
// watcher's worker); Interrupt may be called by any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CFileChange
{
    enum class Kind
    {
        Added = 1,
        Removed = 2,
        Modified = 3,
        // The two halves of a rename; the same cookie pairs them. A half whose
        // partner lies outside every tree comes alone.
        MovedFrom = 4,
        MovedTo = 5,
        // The system's change queue overflowed: changes of every tree were lost.
        Overflow = 6,
        // The tree's folder itself was deleted or moved away; it is no longer
        // watched.
        TreeGone = 7,
    };

    Kind kind = Kind::Modified;
    // The tree the change belongs to; 0 for Overflow, which concerns all.
    int tree = 0;
    // Full path: the tree's folder as given to AddTree, "/" when it does not
    // end with one, then the path inside the tree. Bytes as the file system
    // has them.
    std::string path;
    uint32_t cookie = 0;
};

class IFileChangeSource
{
public:
    virtual ~IFileChangeSource() = default;

    // Starts watching `folder` and every folder below it, to any depth. Returns
    // 0 and sets `tree` (positive, never reused), or an errno value: ENOENT or
    // ENOTDIR when it is no folder, EACCES, ENOSPC when the system's watch
    // limit is reached. Sub-folders that cannot be watched are left out.
    virtual int AddTree(const std::string& folder, int& tree) = 0;

    // Stops watching a tree; its changes still queued are dropped.
    virtual void RemoveTree(int tree) = 0;

    // Appends the changes that are ready, in the order they happened, waiting
    // up to `timeoutMs` (negative: without limit) for the first. Returns early
    // without changes after Interrupt.
    virtual void Wait(std::vector<CFileChange>& out, int timeoutMs) = 0;

    // Makes the current or the next Wait return at once. Thread-safe.
    virtual void Interrupt() = 0;
};
