#include "parser/datsource/ImportHandHistoryDatabase.h"

#include "db/sqlite/CSQLiteDatabase.h"
#include "foundation/ILogSink.h"
#include "foundation/IUserNotifier.h"
#include "foundation/LocalTime.h"
#include "foundation/WideText.h"
#include "parser/datsource/CXmlNode.h"
#include "parser/datsource/CXmlParser.h"

#include <cerrno>
#include <ctime>
#include <cwchar>
#include <filesystem>
#include <optional>
#include <system_error>

namespace {

constexpr wchar_t kConnectFailed[] = L"Failed to connect to the database: ";
constexpr wchar_t kQueryFailed[] = L"Failed to query the database: ";
constexpr wchar_t kGameplay[] = L"Gameplay";
constexpr int64_t kFiveHours = 18000;

std::optional<int64_t> ReadHandDate(const std::wstring& text)
{
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    if (std::swscanf(text.c_str(), L"%4d%2d%2d%2d%2d%2d", &year, &month, &day, &hour, &minute,
                     &second) != 6) {
        return std::nullopt;
    }
    return LocalDateTimeToSeconds(year, month, day, hour, minute, second);
}

int64_t ReadHandId(const std::wstring& text)
{
    // Out-of-range numbers saturate rather than wrap.
    return static_cast<int64_t>(std::wcstoll(text.c_str(), nullptr, 10));
}

std::wstring LocalDateText(int64_t seconds)
{
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return {};
    }
    wchar_t buffer[64];
    const size_t length = std::wcsftime(buffer, 64, L"%d.%m.%Y  %H:%M:%S", &local);
    return std::wstring(buffer, length);
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            end = text.size();
        }
        lines.emplace_back(text, start, end - start);
        start = end + 1;
    }
    return lines;
}

// The game element: a top-level "Gameplay", or one directly inside the
// top-level element when the dump wraps its parts in one.
const CXmlNode* FindGameplay(const CXmlNode& document)
{
    if (const CXmlNode* game = document.FindChild(kGameplay)) {
        return game;
    }
    for (size_t i = 0; i < document.ChildCount(); ++i) {
        const CXmlNode* root = document.Child(i);
        if (root->IsElement()) {
            if (const CXmlNode* game = root->FindChild(kGameplay)) {
                return game;
            }
        }
    }
    return nullptr;
}

bool FileExists(const std::wstring& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(ToUtf8(path)), error);
}

}  // namespace

int ImportHandHistoryDatabase(const std::wstring& path,
                              IUserNotifier& notifier,
                              const CHandHistoryDatabaseOptions& options)
{
    const auto log = [&](const std::wstring& text) {
        if (options.log) {
            options.log->Log(text);
        }
    };

    kroDB::CSQLiteDatabase database;
    std::wstring err;
    // Opening creates a missing file; reading a file must never leave one
    // behind.
    if (!FileExists(path)) {
        notifier.Notify(std::wstring(kConnectFailed) + L"Failed to open database");
        return 0;
    }
    if (!database.Open(path, err)) {
        notifier.Notify(kConnectFailed + err);
        return 0;
    }
    std::unique_ptr<kroDB::CAbstractRecordset> rows;
    if (!database.Query(L"SELECT * FROM HandHistory", err, rows)) {
        notifier.Notify(kQueryFailed + err);
        database.Close(err);
        return 0;
    }

    const int64_t localOffset = MeasureLocalUtcOffset();
    CXmlParser parser;
    int read = 0;
    while (rows->MoveNext()) {
        CHandHistoryDatabaseRow row;
        const std::wstring idText = rows->GetStringByName(L"HandID");
        const std::wstring dateText = rows->GetStringByName(L"HandDate");
        row.handId = ReadHandId(idText);
        const std::optional<int64_t> handTime = ReadHandDate(dateText);
        if (!handTime) {
            log(FormatW(L"%ls: hand %ls left out, HandDate \"%ls\" is not a valid date",
                        path.c_str(), idText.c_str(), dateText.c_str()));
            continue;
        }
        row.handTime = *handTime;
        row.shiftedDateText = LocalDateText(row.handTime - kFiveHours);
        row.offsetDateText = LocalDateText(row.handTime - localOffset);
        row.tableName = rows->GetStringByName(L"TableName");
        row.gameType = rows->GetStringByName(L"GameType");
        row.tableType = rows->GetStringByName(L"TableType");

        CXmlNode document;
        if (!parser.Parse(rows->GetStringByName(L"XMLDump"), document)) {
            log(FormatW(L"%ls: hand %ls left out, XMLDump is not well formed: %ls", path.c_str(),
                        idText.c_str(), parser.ErrorText().c_str()));
            continue;
        }
        if (const CXmlNode* game = FindGameplay(document)) {
            const std::wstring gameText = game->Text();
            CXmlNode gameDocument;
            // Nothing reads the game tree yet, so a malformed one costs the row
            // nothing; the log says so.
            if (!parser.Parse(gameText, gameDocument)) {
                log(FormatW(L"%ls: hand %ls, the Gameplay text is not well formed: %ls",
                            path.c_str(), idText.c_str(), parser.ErrorText().c_str()));
            }
            row.lines = SplitLines(gameText);
        }
        ++read;
        if (options.onRow) {
            options.onRow(row);
        }
    }
    // A damaged file can end the rows early; that must not look complete.
    if (!rows->LastError().empty()) {
        notifier.Notify(kQueryFailed + rows->LastError());
    }
    rows->Close();
    database.Close(err);
    return read;
}
