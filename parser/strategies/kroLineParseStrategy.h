// The base of every room format that is read one line at a time into one
// CHandState: the PokerStars layout (with GGPoker and the club rooms), 888,
// Run It Once and PokerKing Asia. It owns what they share: the rows a hand
// writes while its lines go by, the effects of the betting lines, the street
// lines, the summary computation, and the one end of a hand. ParseHand is
// final: a room reads its lines (ReadHand) and may complete its hand from its
// own summary lines (CompleteHand), but every hand ends through FinishHand,
// so no room can leave out a step of it. One object per imported file.
#pragma once

#include "parser/CHandState.h"
#include "parser/kroParseStrategyI.h"

#include <map>
#include <string>
#include <vector>

namespace kroHandParser {

class kroLineParseStrategy : public kroParseStrategyI
{
public:
    using kroParseStrategyI::kroParseStrategyI;

    // Reads the hand's lines with ReadHand and, when it asks for it, ends the
    // hand with FinishHand. True when the hand was handled (stored, found
    // already stored, or deliberately left out).
    bool ParseHand(std::vector<std::wstring>& lines,
                   int64_t fileId,
                   int& currency,
                   int32_t aliasId) final;

    // The hand as read so far (for tests).
    const CHandState& Hand() const { return m_hand; }

protected:
    // What became of ReadHand.
    enum class ReadResult
    {
        // Every line was read: the hand is to be finished.
        Finish,
        // It stopped early and the hand counts as handled (already stored,
        // left out after its rows were looked up).
        Handled,
        // It stopped early and the hand is not handled (m_outcome says why).
        NotHandled,
    };
    // Reads the lines of one hand into m_hand, storing the rows that follow
    // the lines (the hand row, pots, boards).
    virtual ReadResult ReadHand(std::vector<std::wstring>& lines,
                                int64_t fileId,
                                int& currency,
                                int32_t aliasId) = 0;
    // What a room's own lines still give once every line is read: 888's
    // money, the show downs that PokerKing Asia and Run It Once write only in
    // their summaries. Runs before the hand is checked and stored.
    virtual void CompleteHand() {}
    // Whether the room's hands write an all-in EV dump file when the debug
    // setting asks for one.
    virtual bool KeepsAllinDump() const { return false; }
    // Whether the room prints the hand's total pot (888 does not: its pot is
    // what the players bet).
    virtual bool PrintsTotalPot() const { return true; }

    // Forgets everything of the previous hand.
    void ResetHand();

    // Stores the hand row from m_hand (file, number, times, game type): false
    // with m_outcome AlreadyStored when this room holds a hand with the same
    // number and utc, whichever file it came from; false with m_outcome Failed
    // when the game type or the row cannot be stored. With `lines`, the hand's
    // text is stored too. On success m_outcome is Stored and rows follow.
    bool StoreHandRow(const std::vector<std::wstring>* lines);

    // Games other than Hold'em, short deck, Omaha and Fusion (stud, draw, ...)
    // are left out whole: true, with one log line naming the game and
    // m_outcome Skipped, when the game type's kind is not one of ours.
    // `gameText` is the game as the header writes it.
    bool LeaveOutUnmodelledGame(const std::wstring& gameText);

    // Appends the player of a seat line with zeroed amounts; its index. A name
    // no table could show (a NUL character, more than 255 characters) makes
    // the hand fail at its end.
    int AddPlayer(const std::wstring& name, int seat, int32_t stack);
    int ListedPlayer(std::wstring_view name) const { return m_hand.PlayerIndex(name); }
    CHandPlayerRecord& Player(int index) { return m_hand.players[static_cast<size_t>(index)]; }
    // What the player has put in on `street` (0 pre-flop .. 3 river).
    int32_t& StreetAmount(int street, int index);
    // The largest amount any other player has put in on `street`.
    int32_t LargestOtherAmount(int street, int index) const;
    // The amount of `name` in one of the per-player maps; 0 when absent.
    static int32_t AmountOf(const std::map<std::wstring, int32_t>& map, const std::wstring& name);

    // Actions of player `index` (-1 for none); none are kept after the summary
    // line, except those a room writes only in its summary (AddSummaryAction).
    void AddAction(int index, const wchar_t* code, int32_t amount);
    void AddActionByName(int index, const std::wstring& name, int32_t amount);
    void AddSummaryAction(int index, const wchar_t* code, int32_t amount);

    // The effects of the betting lines every format shares: the action, the
    // street totals and the players' states.
    void RecordFold(int index);
    void RecordRaiseTo(int index, int32_t to);
    void RecordCollected(int index, int32_t amount);
    // A posted blind: its action and how much of it is a live bet of the
    // pre-flop street and how much dead money.
    enum class Blind
    {
        Small,
        Big,
        SmallAndBig
    };
    void RecordBlind(int index, Blind blind, int32_t amount);
    // Both blinds posted by a player who comes in out of turn: the small one
    // (`dead`) is money in the pot, the big one (`live`) a bet of the street.
    void RecordDeadAndLiveBlinds(int index, int32_t dead, int32_t live);

    // A street line "*** FLOP ***", "*** FIRST TURN ***", "*** SHOW DOWN ***",
    // "*** SUMMARY ***"; false when `line` is none.
    bool ParseStreetLine(const std::wstring& line);
    // The summary line was reached: the summary computation, and what a room
    // adds to it.
    virtual void OnSummaryLine() { SummaryComputation(); }
    // A new street of a board was dealt.
    virtual void OnStreetDealt() {}
    // A street line of board `boardNumber` (1..3): "pre-flop", "flop", "turn"
    // or "river" (lower case) sets the street and adds its board action.
    void DealStreet(const std::wstring& street, int boardNumber);

    // A pot row, kept for all-in EV as well.
    void StorePot(int potNumber, int32_t amount);
    // Total pot and rake of the hand row, as a pot line gave them.
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
    // The hole-cards street line ("*** HOLE CARDS ***") was reached.
    virtual void OnHoleCardsLine() {}
    // A player's total win at the summary from what its collect lines gave.
    virtual int32_t TotalWinAtSummary(const CHandPlayerRecord&, int32_t collected) const
    {
        return collected;
    }
    // The first street dealt without betting, stored when there is one.
    int SettleAllinStreet();
    // Positions around the button. With `headsUpRule` two players are the
    // small blind (9) and the big blind (10): the players who posted them, or
    // the button and the other player when the posts do not tell.
    void GivePositions(bool headsUpRule);
    // The summary of a PokerStars-like hand: all-in street, positions, show
    // down, each player's money and its split, and the seats.
    void SummaryComputation();
    void StoreSeats();

private:
    // The shared end of a hand that ReadHand read whole: the room's
    // completion, the checks that a hand is stored whole or not at all, the
    // action list, then flags, rake shares, hand players, named values,
    // all-in EV and the hero's record.
    bool FinishHand();
    // A hand cut off before its summary (a file still being written) must not
    // be stored: stored, it would stand for the whole hand when it comes
    // complete. True, with the reason logged and m_outcome Failed, when the
    // summary was not seen.
    bool RejectUnfinished();
    // True when the hand may be stored; otherwise logs why and sets m_outcome
    // (Skipped for a cancelled hand, Failed for one whose lines are damaged).
    bool CheckWholeHand();
    // Inserts the action list numbered in order.
    void WriteActions();

protected:
    // Logs "hand #N skipped: `reason`" and marks the hand failed.
    void FailHand(const std::wstring& reason);

    CHandState m_hand;
    // True while the hand is new and its rows are being written.
    bool m_storing = false;
    // The game as the last header read wrote it ("Hold'em No Limit"), for
    // the line that says why a hand was left out.
    std::wstring m_gameText;
};

}  // namespace kroHandParser
