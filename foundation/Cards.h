// Card numbers, their names and the reading of card lists from hand-history text.
// A card is suit * 13 + rank index (clubs, diamonds, hearts, spades; deuce 0 .. ace 12).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kCardCount = 52;

// "2c" .. "As" in card-number order.
extern const std::array<const wchar_t*, kCardCount> kCardNames;

// Names of partly known cards: suit known, rank known, nothing known.
extern const std::array<const wchar_t*, 18> kPartialCardNames;

// Rank and suit of a rank letter and suit letter as the companion's card record
// reports them: ace 1, deuce..king 2..13, suit 0..3 for c, d, h, s. Either is -1
// when its letter is not known (letters of either case are accepted).
struct CRankSuit
{
    int rank = -1;
    int suit = -1;
};
CRankSuit RankSuitFromLetters(wchar_t rankLetter, wchar_t suitLetter);

// Card number of a rank/suit pair as above, or -1 when either is unknown.
int CardNumber(const CRankSuit& rankSuit);

// Name of card `card`, or "??" when it is not 0..51.
std::wstring CardName(int card);

// Card number of a two-letter name ("Ah", "Td"; "10h" is read as "Th"), or -1.
int CardFromName(std::wstring_view name);

// Splits `text` at single blanks, trims "," from both ends of each piece and
// appends every piece that reads as one card, in text order. Pieces of another
// length are skipped; brackets are the caller's to strip.
void CardsFromText(std::wstring_view text, std::vector<int>& cards);

// Names of `cards` joined by single blanks.
std::wstring CardsToText(const std::vector<int>& cards);
