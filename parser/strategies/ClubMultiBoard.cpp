// The club rooms print one summary line per run of the board and no street
// lines for the extra runs; this writes the hand in the run-it-twice layout
// that the PokerStars reader understands.
#include "parser/strategies/ClubMultiBoard.h"

#include "foundation/WideText.h"

#include <array>
#include <initializer_list>

namespace kroHandParser {

namespace {

using Board = std::array<std::wstring, 5>;

// The five two-letter cards at their fixed places of "Board [c1 c2 c3 c4 c5]".
Board CardsOf(const std::wstring& line)
{
    Board cards;
    static const size_t kAt[5] = {7, 10, 13, 16, 19};
    for (size_t i = 0; i < 5; ++i) {
        if (line.size() >= kAt[i] + 2) {
            cards[i] = line.substr(kAt[i], 2);
        }
    }
    return cards;
}

std::wstring Bracket(std::initializer_list<std::wstring> cards)
{
    std::wstring out = L"[";
    bool first = true;
    for (const auto& c : cards) {
        if (!first) {
            out += L' ';
        }
        out += c;
        first = false;
    }
    return out + L"]";
}

}  // namespace

void ApplyClubGameCode(const std::wstring& codeLine, std::vector<std::wstring>& hand)
{
    if (hand.empty()) {
        return;
    }
    const size_t colon = codeLine.find(L':');
    if (colon == std::wstring::npos || colon + 2 > codeLine.size()) {
        return;
    }
    const size_t start = colon + 2;
    const size_t end = codeLine.find(L'"', start);
    const std::wstring code =
        codeLine.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
    std::wstring& header = hand.front();
    if (code == L"PLO5") {
        if (header.find(L"5 Card Omaha") == std::wstring::npos) {
            header = ReplaceAll(header, L"Omaha", L"5 Card Omaha");
        }
    } else if (code == L"PLO5HL") {
        header = ReplaceAll(header, L"Omaha", L"5 Card Omaha");
    } else if (code == L"PLO6" || code == L"PLO6HL") {
        header = ReplaceAll(header, L"Omaha", L"6 Card Omaha");
    }
}

std::vector<std::wstring> RewriteClubMultiBoard(const std::vector<std::wstring>& hand)
{
    std::vector<size_t> boardLines;
    for (size_t i = 0; i < hand.size(); ++i) {
        if (hand[i].rfind(L"Board", 0) == 0) {
            boardLines.push_back(i);
        }
    }
    if (boardLines.size() < 2) {
        return hand;
    }
    const Board c = CardsOf(hand[boardLines[0]]);
    const Board d = CardsOf(hand[boardLines[1]]);
    const bool third = boardLines.size() > 2;
    const Board e = third ? CardsOf(hand[boardLines[2]]) : Board{};
    int shared = 0;
    while (shared < 5 && c[static_cast<size_t>(shared)] == d[static_cast<size_t>(shared)]) {
        ++shared;
    }
    if (shared == 5) {
        shared = 0;
    }

    std::vector<std::wstring> out;
    out.reserve(hand.size() + 8);
    int boardIndex = 0;
    static const wchar_t* const kRunWords[3] = {L"FIRST Board", L"SECOND Board", L"THIRD Board"};
    // Once the runs are written out, the single-board lines of the later
    // streets would deal them a second time.
    bool dropLaterStreets = false;
    for (const auto& line : hand) {
        if (line.rfind(L"Board", 0) == 0 && boardIndex < 3) {
            out.push_back(kRunWords[boardIndex++] + line.substr(5));
            continue;
        }
        const bool flop = line.rfind(L"*** FLOP", 0) == 0;
        const bool turn = line.rfind(L"*** TURN", 0) == 0;
        const bool river = line.rfind(L"*** RIVER", 0) == 0;
        if (dropLaterStreets && (turn || river)) {
            continue;
        }
        if (shared == 0 && flop) {
            out.push_back(ReplaceAll(line, L"FLOP", L"FIRST FLOP"));
            out.push_back(L"*** FIRST TURN *** " + Bracket({c[0], c[1], c[2]}) + L" " +
                          Bracket({c[3]}));
            out.push_back(L"*** FIRST RIVER *** " + Bracket({c[0], c[1], c[2], c[3]}) + L" " +
                          Bracket({c[4]}));
            const auto runs = [&out](const wchar_t* word, const Board& b) {
                out.push_back(std::wstring(L"*** ") + word + L" FLOP *** " +
                              Bracket({b[0], b[1], b[2]}));
                out.push_back(std::wstring(L"*** ") + word + L" TURN *** " +
                              Bracket({b[0], b[1], b[2]}) + L" " + Bracket({b[3]}));
                out.push_back(std::wstring(L"*** ") + word + L" RIVER *** " +
                              Bracket({b[0], b[1], b[2], b[3]}) + L" " + Bracket({b[4]}));
            };
            runs(L"SECOND", d);
            if (third) {
                runs(L"THIRD", e);
            }
            dropLaterStreets = true;
            continue;
        }
        if (shared == 3 && turn) {
            out.push_back(ReplaceAll(line, L"TURN", L"FIRST TURN"));
            out.push_back(L"*** FIRST RIVER *** " + Bracket({c[0], c[1], c[2], c[3]}) + L" " +
                          Bracket({c[4]}));
            out.push_back(L"*** SECOND TURN *** " + Bracket({c[0], c[1], c[2]}) + L" " +
                          Bracket({d[3]}));
            out.push_back(L"*** SECOND RIVER *** " + Bracket({c[0], c[1], c[2], d[3]}) + L" " +
                          Bracket({d[4]}));
            if (third) {
                out.push_back(L"*** THIRD TURN *** " + Bracket({c[0], c[1], c[2]}) + L" " +
                              Bracket({e[3]}));
                out.push_back(L"*** THIRD RIVER *** " + Bracket({c[0], c[1], c[2], e[3]}) + L" " +
                              Bracket({e[4]}));
            }
            dropLaterStreets = true;
            continue;
        }
        if (shared == 4 && river) {
            out.push_back(ReplaceAll(line, L"RIVER", L"FIRST RIVER"));
            out.push_back(L"*** SECOND RIVER *** " + Bracket({c[0], c[1], c[2], c[3]}) + L" " +
                          Bracket({d[4]}));
            if (third) {
                out.push_back(L"*** THIRD RIVER *** " + Bracket({c[0], c[1], c[2], c[3]}) + L" " +
                              Bracket({e[4]}));
            }
            continue;
        }
        out.push_back(line);
    }
    return out;
}

}  // namespace kroHandParser
