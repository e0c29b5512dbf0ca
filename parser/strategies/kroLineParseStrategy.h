// The base of the room formats that are read one line at a time into one
// CHandState (888, Run It Once, PokerKing Asia): the rows a hand writes while
// its lines go by, and the summary steps these formats share. One object per
// imported file; ParseHand of the derived class owns the record of one hand.
#pragma once

#include "parser/CHandState.h"
#include "parser/kroParseStrategyI.h"

#include <string>
#include <vector>

namespace kroHandParser {

class kroLineParseStrategy : public kroParseStrategyI
{
public:
    using kroParseStrategyI::kroParseStrategyI;

    // The hand as read so far (for tests).
    const CHandState& Hand() const { return m_hand; }

protected:
    // Forgets everything of the previous hand.
    void ResetHand();

    // Stores the hand row from m_hand (file, number, times, game type): false
    // with m_outcome AlreadyStored when this room holds a hand with the same
    // number and utc, whichever file it came from; false with m_outcome Failed
    // when the game type or the row cannot be stored. With `lines`, the hand's
    // text is stored too. On success m_outcome is Stored and rows follow.
    bool StoreHandRow(const std::vector<std::wstring>* lines);

    // Appends the player of a seat line with zeroed amounts; its index.
    int AddPlayer(const std::wstring& name, int seat, int32_t stack);
    int ListedPlayer(const std::wstring& name) const { return m_hand.PlayerIndex(name); }
    CHandPlayerRecord& Player(int index) { return m_hand.players[static_cast<size_t>(index)]; }
    // What the player has put in on `street` (0 pre-flop .. 3 river).
    int32_t& StreetAmount(int street, int index);
    // The largest amount any other player has put in on `street`.
    int32_t LargestOtherAmount(int street, int index) const;

    // Actions of player `index` (-1 for none); none are kept after the summary,
    // whose action list is already written.
    void AddAction(int index, const wchar_t* code, int32_t amount);
    void AddActionByName(int index, const std::wstring& name, int32_t amount);

    // The effects of the betting lines every format shares: the action, the
    // street totals and the players' states.
    void RecordFold(int index);
    void RecordRaiseTo(int index, int32_t to);
    void RecordCollected(int index, int32_t amount);
    // A street line of board `boardNumber` (1..3): "pre-flop", "flop", "turn"
    // or "river" (lower case) sets the street and adds its board action.
    void DealStreet(const std::wstring& street, int boardNumber);

    // A pot row, kept for all-in EV as well.
    void StorePot(int potNumber, int32_t amount);
    // Total pot and rake of the hand row.
    void StoreTotals();
    void StoreShowdown();
    void StoreBoardOfHand();
    // The hand was run more than once: its flag, once.
    void MarkRunItTwice();
    void StoreRunItTwice();
    // A board line: `which` is "", "first", "second" or "third" (lower case).
    void ReadBoard(const std::wstring& which, const std::vector<int>& cards);

    // For a line beginning "***": where flop, turn, river and show down began.
    void RecordStreetLinePosition(const std::wstring& line);
    // A posted blind: its action and how much of it is a live bet of the
    // pre-flop street and how much dead money.
    enum class Blind
    {
        Small,
        Big,
        SmallAndBig
    };
    void RecordBlind(int index, Blind blind, int32_t amount);
    // The hole-cards street line ("*** HOLE CARDS ***") was reached.
    virtual void OnHoleCardsLine() {}
    // A player's total win at the summary from what its collect lines gave.
    virtual int32_t TotalWinAtSummary(const CHandPlayerRecord&, int32_t collected) const
    {
        return collected;
    }
    // The first street dealt without betting, stored when there is one.
    int SettleAllinStreet();
    // Positions around the button; with `headsUpRule` two players are the
    // button (9) and the big blind (10) whatever their seats.
    void GivePositions(bool headsUpRule);
    // The summary of a PokerStars-like hand: all-in street, positions, show
    // down, each player's money and its split, the action list and the seats.
    void SummaryComputation();
    // Inserts the action list numbered in order.
    void WriteActions();
    void StoreSeats();

    // The end of a hand that stores flags, players, values and EV; rooms of
    // this kind keep no EV dump file.
    void StoreEndOfHand();
    // A hand cut off before its summary (a file still being written) must not
    // be stored: stored, it would stand for the whole hand when it comes
    // complete. True, with the reason logged and m_outcome Failed, when the
    // summary was not seen.
    bool RejectUnfinished(bool summarySeen);

    CHandState m_hand;
    // True while the hand is new and its rows are being written.
    bool m_storing = false;
};

}  // namespace kroHandParser
