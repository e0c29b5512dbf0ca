#include "app/cli/EquityCommand.h"

#include "app/cli/CCommandLine.h"
#include "foundation/Cards.h"
#include "foundation/WideText.h"
#include "stats/AllinEquity.h"

#include <charconv>
#include <cstdint>
#include <ostream>
#include <vector>

namespace {

constexpr int kMaxPlayers = 10;
constexpr int kFusionKind = 30;
constexpr int kShortDeckKind = 202;

// Cards written together ("AsKd", "10hJs") or with blanks ("As Kd 7h"); false
// with the message in `error` for a piece that is no card.
bool ParseCards(const std::string& text, std::vector<int>& cards, std::wstring& error)
{
    std::wstring compact;
    for (const wchar_t c : FromUtf8(text)) {
        if (c != L' ' && c != L'\t' && c != L',') {
            compact += c;
        }
    }
    size_t pos = 0;
    while (pos < compact.size()) {
        const size_t length = compact.compare(pos, 2, L"10") == 0 ? 3 : 2;
        const std::wstring name = compact.substr(pos, length);
        const int card = name.size() == length ? CardFromName(name) : -1;
        if (card < 0) {
            error = L"unknown card: " + name;
            return false;
        }
        cards.push_back(card);
        pos += length;
    }
    return true;
}

std::wstring Joined(const std::vector<int>& cards)
{
    std::wstring text;
    for (const int card : cards) {
        text += CardName(card);
    }
    return text;
}

bool ParseKind(const CCommandLine& line, int& kind, std::wstring& error)
{
    if (!line.HasOption("kind")) {
        error = L"equity needs --kind";
        return false;
    }
    const std::string text = line.Option("kind");
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), kind);
    if (ec != std::errc() || end != text.data() + text.size() || !HoleCardsForKind(kind)) {
        error = L"unknown game kind: " + FromUtf8(text);
        return false;
    }
    return true;
}

// Adds `cards` to `seen`; false when one of them is there already.
bool AddCards(const std::vector<int>& cards, uint64_t& seen, uint64_t& mask, std::wstring& error)
{
    mask = 0;
    for (const int card : cards) {
        const uint64_t bit = uint64_t{1} << card;
        if (seen & bit) {
            error = L"card appears twice: " + CardName(card);
            return false;
        }
        seen |= bit;
        mask |= bit;
    }
    return true;
}

bool Run(const CCommandLine& line, std::wostream& out, std::wstring& error)
{
    int kind = 0;
    std::vector<int> board;
    std::vector<int> dead;
    if (!ParseKind(line, kind, error) || !ParseCards(line.Option("board"), board, error) ||
        !ParseCards(line.Option("dead"), dead, error)) {
        return false;
    }
    if (board.size() > 5) {
        error = FormatW(L"too many board cards: %d (at most 5)", static_cast<int>(board.size()));
        return false;
    }
    const int players = static_cast<int>(line.positional.size()) - 1;
    if (players < 2 || players > kMaxPlayers) {
        error = players < 2 ? L"equity needs at least two hands"
                            : FormatW(L"more than ten players: %d", players);
        return false;
    }
    const CHoleCards facts = *HoleCardsForKind(kind);
    // Fusion deals its hole cards street by street; the rest of each hand is
    // enumerated or sampled.
    int holeCount = facts.holeCount;
    if (kind == kFusionKind) {
        holeCount = board.empty() ? 2 : (board.size() == 3 ? 3 : 4);
    }
    AllinEvInput input;
    input.gameKind = kind;
    input.holeCount = holeCount;
    input.variant = facts.variant;
    input.heroIndex = 0;
    input.pots = {0};
    uint64_t seen = 0;
    std::vector<std::vector<int>> hands;
    std::vector<uint64_t> opponents;
    for (int p = 1; p <= players; ++p) {
        const std::string& text = line.positional[static_cast<size_t>(p)];
        hands.emplace_back();
        if (!ParseCards(text, hands.back(), error)) {
            return false;
        }
        if (static_cast<int>(hands.back().size()) != holeCount) {
            error = FormatW(L"hand %ls has %d cards, game kind %d needs %d", FromUtf8(text).c_str(),
                            static_cast<int>(hands.back().size()), kind, holeCount);
            return false;
        }
        uint64_t mask = 0;
        if (!AddCards(hands.back(), seen, mask, error)) {
            return false;
        }
        input.players.push_back({p, 0, mask});
        if (p > 1) {
            opponents.push_back(mask);
        }
    }
    uint64_t deadMask = 0;
    if (!AddCards(board, seen, input.boardMask, error) || !AddCards(dead, seen, deadMask, error)) {
        return false;
    }
    for (int card = 0; card < 52 && kind == kShortDeckKind; ++card) {
        if ((seen >> card & 1) && card % 13 < 4) {
            error = L"card not in the short deck: " + CardName(card);
            return false;
        }
    }
    CWinResults results;
    if (Equity(input, opponents, deadMask, &results) < 0) {
        error = L"these cards cannot be dealt";
        return false;
    }
    for (size_t p = 0; p < hands.size(); ++p) {
        out << Joined(hands[p]) << L" " << FormatW(L"%.4f", results.share[p] * 100.0) << L"\n";
    }
    out << (results.exact ? L"exact " : L"sampled ") << results.deals << L"\n";
    return true;
}

}  // namespace

std::wstring EquityCommandHelp()
{
    return L"usage: veltrix-cli equity --kind K [--board CARDS] [--dead CARDS] HAND HAND [HAND...]\n"
           L"\n"
           L"Prints every hand's share of the pot in percent, then \"exact N\" when all N\n"
           L"deals were counted or \"sampled N\" when N deals were drawn.\n"
           L"  --kind K       game kind: 7 Omaha, 10 Omaha hi-lo, 13/14 five-card Omaha (hi-lo),\n"
           L"                 16/17 Courchevel (hi-lo), 30 Fusion, 36/37 six-card Omaha (hi-lo),\n"
           L"                 202 6+ Hold'em\n"
           L"  --board CARDS  the known board cards, at most five\n"
           L"  --dead CARDS   cards out of play\n"
           L"Cards are written as in hand histories (\"As\", \"Td\", \"10h\"), a hand or card list\n"
           L"without blanks (\"AsAhKsKh\") or with blanks in quotes. Up to ten hands.\n";
}

int RunEquityCommand(const CCommandLine& line, std::wostream& out, std::wostream& err)
{
    std::wstring error;
    if (!Run(line, out, error)) {
        err << error << L"\n";
        return 2;
    }
    return 0;
}
