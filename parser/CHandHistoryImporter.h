// The single entry through which a hand-history file is imported, by hand or
// live: the reader chosen by the extension, the lines read from a position,
// the room recognised, the file registered, and the lines handed to the
// room's parse strategy. One import at a time per importer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kroHandParser {

struct CParserEnvironment;

class CHandHistoryImporter
{
public:
    // Requires: `env` outlives the importer.
    explicit CHandHistoryImporter(CParserEnvironment& env)
        : m_env(env)
    {}

    // Imports what follows `readPosition` in the file at `path` for the room of
    // display name `roomName`; the number of hands handled (0 on any failure:
    // an unknown extension, a read error, no database, no room line, a file
    // marked finished that still holds what it held then). A finished file
    // that changed is no longer finished and is read; hands already stored
    // are recognised. `fileId` receives the file row's id, `currency` the
    // currency of the last hand, and `readPosition` is advanced. The
    // environment tells a database that could not be reached (databaseLost)
    // or a file row that could not be written (fileFailed).
    int ImportHandHistoryFile(const std::string& path,
                              int64_t& fileId,
                              int& currency,
                              int64_t& readPosition,
                              const std::wstring& roomName,
                              int32_t aliasId);

    // The same with the room given by its site code (0..13).
    int ImportWithSiteCode(const std::string& path,
                           int64_t& fileId,
                           int& currency,
                           int64_t& readPosition,
                           int siteCode,
                           int32_t aliasId);

    // The steps after reading for `lines` that the caller read itself from the
    // ".txt" file at `path` (a live reader holds back a hand still being
    // written): the room recognised, the file registered and the lines parsed.
    // The result and the out values are those of ImportHandHistoryFile.
    int ImportLines(const std::string& path,
                    std::vector<std::wstring> lines,
                    int64_t& fileId,
                    int& currency,
                    const std::wstring& roomName,
                    int32_t aliasId);

private:
    int ImportText(const std::string& path,
                   int siteCode,
                   int64_t& fileId,
                   int& currency,
                   int64_t& readPosition,
                   int32_t aliasId);
    int ParseLines(const std::string& path,
                   int siteCode,
                   std::vector<std::wstring>& lines,
                   int64_t& fileId,
                   int& currency,
                   int32_t aliasId);

    CParserEnvironment& m_env;
};

// The extension of `path`: from its last "." to the end, "" when a "/" comes
// after that "." or there is none.
std::string FileExtension(const std::string& path);

}  // namespace kroHandParser
