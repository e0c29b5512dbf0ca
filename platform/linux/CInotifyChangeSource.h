// File changes of folder trees over inotify. Every folder of a tree gets its own
// watch; folders made (or moved in) later are added as they appear, and the
// files already inside them are reported as added, so that nothing written
// between the folder's creation and its watch is missed. One instance per
// watcher; see IFileChangeSource for the thread rules.
#pragma once

#include "platform/IFileChangeSource.h"
#include "platform/linux/CUniqueFd.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CInotifyChangeSource : public IFileChangeSource
{
public:
    CInotifyChangeSource();

    // 0, or the errno of creating the inotify instance (then AddTree fails
    // with it too).
    int OpenError() const { return m_openError; }

    int AddTree(const std::string& folder, int& tree) override;
    void RemoveTree(int tree) override;
    void Wait(std::vector<CFileChange>& out, int timeoutMs) override;
    void Interrupt() override;

private:
    // One use of a watch: the tree and the folder's path inside it ("" for the
    // tree's own folder). Nested trees can share a watch.
    struct CWatchUse
    {
        int tree = 0;
        std::string relative;
    };
    struct CTree
    {
        // The folder as given, followed by "/" when it has none.
        std::string prefix;
        int rootWatch = -1;
    };
    // A folder moved away whose new place may follow in the same read.
    struct CFolderMove
    {
        uint32_t cookie = 0;
        int tree = 0;
        std::string relative;
    };

    void ReadEvents(std::vector<CFileChange>& out);
    void Handle(int wd,
                uint32_t mask,
                uint32_t cookie,
                const std::string& name,
                std::vector<CFileChange>& out);
    // Watches the folder `relative` of `tree` and all below it; with
    // `reportFiles`, the files found are reported as added (and modified when
    // they have content).
    void AddFolder(int tree,
                   const std::string& relative,
                   bool reportFiles,
                   std::vector<CFileChange>& out);
    // Lists a watched folder: watches its sub-folders, and reports its files
    // when `reportFiles` holds.
    void ScanFolder(int tree,
                    const std::string& relative,
                    bool reportFiles,
                    std::vector<CFileChange>& out);
    void DropFolderMoves();
    void DropUses(int tree, const std::string& relative, bool withSubfolders);
    void RenameFolder(int tree, const std::string& from, const std::string& to);
    std::string FullPath(int tree, const std::string& relative) const;

    CUniqueFd m_inotify;
    CUniqueFd m_wake;
    int m_openError = 0;
    int m_nextTree = 1;
    std::map<int, CTree> m_trees;
    std::map<int, std::vector<CWatchUse>> m_watches;
    std::vector<CFolderMove> m_folderMoves;
    std::vector<char> m_buffer;
};
