#include "parser/CHandHistoryImporter.h"

#include "companion/ReadHistoryFileEx.h"
#include "db/CDbContext.h"
#include "db/IConnection.h"
#include "db/tables/CActionList.h"
#include "db/tables/kroFiles.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/Rooms.h"
#include "foundation/Sites.h"
#include "foundation/WideText.h"
#include "parser/CParserEnvironment.h"
#include "parser/CRoomDetector.h"
#include "parser/FileFingerprint.h"
#include "parser/datsource/ImportHandHistoryDatabase.h"
#include "parser/kroParseStrategyI.h"

#include <fstream>
#include <iterator>

namespace kroHandParser {

namespace {

// GGPoker files with a zero byte are damaged downloads.
bool HasZeroByte(const std::string& path, bool& opened)
{
    std::ifstream in(path, std::ios::binary);
    opened = static_cast<bool>(in);
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        const std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i) {
            if (buffer[i] == '\0') {
                return true;
            }
        }
    }
    return false;
}

const wchar_t* RoomWord(int siteCode)
{
    const CRoomInfo* room = RoomOfSiteCode(siteCode);
    return room != nullptr ? room->fileWord : nullptr;
}

}  // namespace

std::string FileExtension(const std::string& path)
{
    for (size_t i = path.size(); i-- > 0;) {
        if (path[i] == '/') {
            return std::string();
        }
        if (path[i] == '.') {
            return path.substr(i);
        }
    }
    return std::string();
}

int CHandHistoryImporter::ImportHandHistoryFile(const std::string& path,
                                                int64_t& fileId,
                                                int& currency,
                                                int64_t& readPosition,
                                                const std::wstring& roomName,
                                                int32_t aliasId)
{
    const int siteCode = SiteCodeFromRoomName(roomName, m_env.db.Definitions());
    return ImportWithSiteCode(path, fileId, currency, readPosition, siteCode, aliasId);
}

int CHandHistoryImporter::ImportWithSiteCode(const std::string& path,
                                             int64_t& fileId,
                                             int& currency,
                                             int64_t& readPosition,
                                             int siteCode,
                                             int32_t aliasId)
{
    m_env.databaseLost = false;
    m_env.fileFailed = false;
    (void)m_env.actions.LoadActions(m_env.db);
    const std::string extension = FileExtension(path);
    if (extension == ".txt") {
        return ImportText(path, siteCode, fileId, currency, readPosition, aliasId);
    }
    if (extension == ".dat") {
        return ImportHandHistoryDatabase(FromUtf8(path), m_env.notifier);
    }
    return 0;
}

int CHandHistoryImporter::ImportText(const std::string& path,
                                     int siteCode,
                                     int64_t& fileId,
                                     int& currency,
                                     int64_t& readPosition,
                                     int32_t aliasId)
{
    if (siteCode == kSiteGGPoker) {
        bool opened = false;
        if (HasZeroByte(path, opened) && opened) {
            return 0;
        }
    }
    std::vector<std::wstring> lines;
    if (ReadHistoryFileEx(path, readPosition, lines) != kReadOk) {
        return 0;
    }
    return ParseLines(path, siteCode, lines, fileId, currency, aliasId);
}

int CHandHistoryImporter::ImportLines(const std::string& path,
                                      std::vector<std::wstring> lines,
                                      int64_t& fileId,
                                      int& currency,
                                      const std::wstring& roomName,
                                      int32_t aliasId)
{
    m_env.databaseLost = false;
    m_env.fileFailed = false;
    (void)m_env.actions.LoadActions(m_env.db);
    if (FileExtension(path) != ".txt") {
        return 0;
    }
    const int siteCode = SiteCodeFromRoomName(roomName, m_env.db.Definitions());
    return ParseLines(path, siteCode, lines, fileId, currency, aliasId);
}

int CHandHistoryImporter::ParseLines(const std::string& path,
                                     int siteCode,
                                     std::vector<std::wstring>& lines,
                                     int64_t& fileId,
                                     int& currency,
                                     int32_t aliasId)
{
    kroDB::CConnectionLease connection(m_env.db.AcquireConnection(true));
    if (!connection || !connection->IsOpen()) {
        m_env.databaseLost = true;
        return 0;
    }
    if (const wchar_t* word = RoomWord(siteCode)) {
        for (auto& line : lines) {
            std::wstring trimmed = Trim(line);
            if (trimmed.rfind(L"PokerStars", 0) == 0) {
                line = ReplaceAll(trimmed, L"PokerStars", word);
            }
        }
    }
    const std::wstring fileName = FromUtf8(path.substr(path.rfind('/') + 1));
    CRoomDetector detector(m_env);
    std::unique_ptr<kroParseStrategyI> strategy = detector.Detect(siteCode, lines, fileName);
    if (!strategy) {
        // The room is looked up in the database: no room found may mean no
        // server, or a failing one.
        const CStatus last = connection->LastStatus();
        m_env.databaseLost = last.GetCode() == CStatus::Code::Unavailable;
        m_env.fileFailed = !last.IsOk() && !m_env.databaseLost;
        return 0;
    }

    kroDB::kroFiles::data file(m_env.db);
    file.path = fileName;
    file.idsite = strategy->SiteId();
    // The import goes on with the chosen id even when the row cannot be
    // written; its hands still name the file.
    (void)file.FindOrInsert();
    fileId = file.id;
    if (file.id <= 0) {
        m_env.databaseLost = connection->LastStatus().GetCode() == CStatus::Code::Unavailable;
        m_env.fileFailed = !m_env.databaseLost;
        return 0;
    }
    if (file.finish) {
        // A finished file that still holds what it held then has nothing new.
        // One that changed (the client wrote the same day's table file again,
        // or another file of that name came) is read, and only the hands not
        // stored yet are stored.
        if (FileUnchanged(path, file.finishsize, static_cast<uint32_t>(file.finishcrc))) {
            return 0;
        }
        (void)file.SetUnfinished(file.id);
    }
    const int handled = strategy->ParseFile(lines, file.id, currency, aliasId);
    strategy->FinishHands();
    return handled;
}

}  // namespace kroHandParser
