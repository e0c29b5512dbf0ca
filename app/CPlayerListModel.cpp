#include "app/CPlayerListModel.h"

#include <QColor>
#include <QLocale>

using kroStats::CPlayerCounts;
using kroStats::CPlayerListRow;

namespace {

struct CColumnInfo
{
    const char* title;
    const char* tip;
};

constexpr CColumnInfo kColumns[CPlayerListModel::kColumnCount] = {
    {"Player Name", "The player's name in the room"},
    {"Hands", "Hands stored for the player"},
    {"VPIP", "Put money in voluntarily preflop, % of the chances"},
    {"PFR", "Raised preflop, % of the chances"},
    {"nPFR", "Times facing an open raise (the 3-bet chances)"},
    {"3Bet", "Re-raised an open raise, % of the chances"},
    {"nCC", "Times the first preflop action came after a raise"},
    {"CC", "Cold called: called a raise as the first action, %"},
    {"nLimp", "Times limped: called first with nobody having raised"},
    {"LC", "Limp-called: called a raise after limping, %"},
    {"LR", "Limp-raised: re-raised after limping, %"},
    {"FtR", "Folded to a raise after limping, %"},
    {"n3Bet", "Times facing a 3-bet after raising"},
    {"4Bet", "Re-raised a 3-bet, % of the chances"},
    {"C3Bet", "Called a 3-bet, %"},
    {"F3Bet", "Folded to a 3-bet, %"},
    {"WTSD", "Went to showdown, % of the hands that saw the flop"},
    {"W$SD", "Won money at showdown, % of the showdowns"},
    {"Net won", "Money won minus money put in, in the tables' currencies"},
    {"bb/100", "Big blinds won per 100 hands"},
};

// A percentage and whether it had any chance at all.
struct CRatio
{
    int64_t part;
    int64_t whole;
};

bool RatioOf(const CPlayerCounts& c, int column, CRatio& r)
{
    switch (column) {
    case CPlayerListModel::kVpip:
        r = {c.vpip, c.vpipOpp};
        return true;
    case CPlayerListModel::kPfr:
        r = {c.pfr, c.pfrOpp};
        return true;
    case CPlayerListModel::k3Bet:
        r = {c.threeBet, c.threeBetOpp};
        return true;
    case CPlayerListModel::kColdCall:
        r = {c.coldCall, c.coldCallOpp};
        return true;
    case CPlayerListModel::kLimpCall:
        r = {c.limpCall, c.limpFacedRaise};
        return true;
    case CPlayerListModel::kLimpRaise:
        r = {c.limpRaise, c.limpFacedRaise};
        return true;
    case CPlayerListModel::kLimpFold:
        r = {c.limpFold, c.limpFacedRaise};
        return true;
    case CPlayerListModel::k4Bet:
        r = {c.fourBet, c.fourBetOpp};
        return true;
    case CPlayerListModel::kCall3Bet:
        r = {c.call3Bet, c.face3Bet};
        return true;
    case CPlayerListModel::kFold3Bet:
        r = {c.fold3Bet, c.face3Bet};
        return true;
    case CPlayerListModel::kWtsd:
        r = {c.wtsd, c.wtsdOpp};
        return true;
    case CPlayerListModel::kWonSd:
        r = {c.wonAtShowdown, c.wtsd};
        return true;
    default:
        return false;
    }
}

}  // namespace

CPlayerListModel::CPlayerListModel(QObject* parent)
    : QAbstractTableModel(parent)
{}

QString CPlayerListModel::Title(int column)
{
    return column >= 0 && column < kColumnCount ? QString::fromUtf8(kColumns[column].title)
                                                : QString();
}

void CPlayerListModel::SetRows(std::vector<CPlayerListRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int CPlayerListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CPlayerListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

double CPlayerListModel::SortValue(const CPlayerListRow& row, int column)
{
    const CPlayerCounts& c = row.counts;
    CRatio r{};
    if (RatioOf(c, column, r)) {
        return r.whole == 0 ? -1.0 : kroStats::Percent(r.part, r.whole);
    }
    switch (column) {
    case kHands:
        return static_cast<double>(c.hands);
    case kN3BetOpp:
        return static_cast<double>(c.threeBetOpp);
    case kNColdCall:
        return static_cast<double>(c.coldCallOpp);
    case kNLimp:
        return static_cast<double>(c.limp);
    case kNFace3Bet:
        return static_cast<double>(c.face3Bet);
    case kNetWon:
        return static_cast<double>(c.netWonCents);
    case kBbPer100:
        return kroStats::BigBlindsPer100(c);
    default:
        return 0.0;
    }
}

QString CPlayerListModel::Text(const CPlayerListRow& row, int column)
{
    if (column == kName) {
        return QString::fromStdWString(row.name);
    }
    CRatio r{};
    if (RatioOf(row.counts, column, r)) {
        return r.whole == 0 ? QStringLiteral("-")
                            : QString::number(kroStats::Percent(r.part, r.whole), 'f', 1);
    }
    switch (column) {
    case kNetWon:
        return QLocale::c().toString(row.counts.netWonCents / 100.0, 'f', 2);
    case kBbPer100:
        return QString::number(kroStats::BigBlindsPer100(row.counts), 'f', 1);
    default:
        return QString::number(static_cast<qlonglong>(SortValue(row, column)));
    }
}

QVariant CPlayerListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size())) {
        return QVariant();
    }
    const CPlayerListRow& row = m_rows[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return Text(row, column);
    case kSortRole:
        if (column == kName) {
            return QString::fromStdWString(row.name).toCaseFolded();
        }
        return SortValue(row, column);
    case Qt::TextAlignmentRole:
        return column == kName ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                               : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (column == kNetWon || column == kBbPer100) {
            const double value = SortValue(row, column);
            if (value > 0) {
                return QColor(120, 220, 120);
            }
            if (value < 0) {
                return QColor(255, 120, 110);
            }
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant CPlayerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) {
        return QVariant();
    }
    if (role == Qt::DisplayRole) {
        return Title(section);
    }
    if (role == Qt::ToolTipRole) {
        return QString::fromUtf8(kColumns[section].tip);
    }
    return QVariant();
}
