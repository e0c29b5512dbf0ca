#include "foundation/Cards.h"

#include "foundation/WideText.h"

const std::array<const wchar_t*, kCardCount> kCardNames = {
    L"2c", L"3c", L"4c", L"5c", L"6c", L"7c", L"8c", L"9c", L"Tc", L"Jc", L"Qc", L"Kc", L"Ac",
    L"2d", L"3d", L"4d", L"5d", L"6d", L"7d", L"8d", L"9d", L"Td", L"Jd", L"Qd", L"Kd", L"Ad",
    L"2h", L"3h", L"4h", L"5h", L"6h", L"7h", L"8h", L"9h", L"Th", L"Jh", L"Qh", L"Kh", L"Ah",
    L"2s", L"3s", L"4s", L"5s", L"6s", L"7s", L"8s", L"9s", L"Ts", L"Js", L"Qs", L"Ks", L"As",
};

const std::array<const wchar_t*, 18> kPartialCardNames = {
    L"Xc", L"Xd", L"Xh", L"Xs", L"2x", L"3x", L"4x", L"5x", L"6x",
    L"7x", L"8x", L"9x", L"Tx", L"Jx", L"Qx", L"Kx", L"Ax", L"Xx",
};

CRankSuit RankSuitFromLetters(wchar_t rankLetter, wchar_t suitLetter)
{
    CRankSuit rs;
    switch (rankLetter) {
    case L'A':
    case L'a':
        rs.rank = 1;
        break;
    case L'K':
    case L'k':
        rs.rank = 13;
        break;
    case L'Q':
    case L'q':
        rs.rank = 12;
        break;
    case L'J':
    case L'j':
        rs.rank = 11;
        break;
    case L'T':
    case L't':
        rs.rank = 10;
        break;
    default:
        if (rankLetter >= L'2' && rankLetter <= L'9') {
            rs.rank = rankLetter - L'0';
        }
        break;
    }
    switch (suitLetter) {
    case L'c':
    case L'C':
        rs.suit = 0;
        break;
    case L'd':
    case L'D':
        rs.suit = 1;
        break;
    case L'h':
    case L'H':
        rs.suit = 2;
        break;
    case L's':
    case L'S':
        rs.suit = 3;
        break;
    default:
        break;
    }
    return rs;
}

int CardNumber(const CRankSuit& rankSuit)
{
    if (rankSuit.rank < 1 || rankSuit.rank > 13 || rankSuit.suit < 0 || rankSuit.suit > 3) {
        return -1;
    }
    const int rankIndex = rankSuit.rank == 1 ? 12 : rankSuit.rank - 2;
    return rankSuit.suit * 13 + rankIndex;
}

std::wstring CardName(int card)
{
    if (card < 0 || card >= kCardCount) {
        return L"??";
    }
    return kCardNames[static_cast<size_t>(card)];
}

int CardFromName(std::wstring_view name)
{
    if (name.size() == 3 && name[0] == L'1' && name[1] == L'0') {
        return CardNumber(RankSuitFromLetters(L'T', name[2]));
    }
    if (name.size() != 2) {
        return -1;
    }
    return CardNumber(RankSuitFromLetters(name[0], name[1]));
}

void CardsFromText(std::wstring_view text, std::vector<int>& cards)
{
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L' ', pos);
        if (end == std::wstring_view::npos) {
            end = text.size();
        }
        std::wstring_view piece = text.substr(pos, end - pos);
        while (!piece.empty() && piece.front() == L',') {
            piece.remove_prefix(1);
        }
        while (!piece.empty() && piece.back() == L',') {
            piece.remove_suffix(1);
        }
        int card = -1;
        if (piece.size() == 2) {
            card = CardNumber(RankSuitFromLetters(piece[0], piece[1]));
        } else if (piece.size() == 3 && piece[0] == L'1' && piece[1] == L'0') {
            card = CardNumber(RankSuitFromLetters(L'T', piece[2]));
        } else if (piece.size() == 3) {
            // A left-over bracket makes a three-letter piece; it reads from its
            // first two letters, so "[Ah" gives nothing while "Ah]" gives the ace.
            card = CardNumber(RankSuitFromLetters(piece[0], piece[1]));
        }
        if (card >= 0) {
            cards.push_back(card);
        }
        pos = end + 1;
    }
}

std::wstring CardsToText(const std::vector<int>& cards)
{
    std::wstring out;
    for (size_t i = 0; i < cards.size(); ++i) {
        if (i) {
            out += L' ';
        }
        out += CardName(cards[i]);
    }
    return out;
}
