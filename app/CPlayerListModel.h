// The rows of the player list: one per player, with the sixteen columns the
// list has always had and the showdown and winnings columns after them. The
// sort role gives numbers, so every column sorts by value. Main thread only.
#pragma once

#include "stats/CPlayerListQuery.h"

#include <QAbstractTableModel>

#include <vector>

class CPlayerListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        kName,
        kHands,
        kVpip,
        kPfr,
        kN3BetOpp,
        k3Bet,
        kNColdCall,
        kColdCall,
        kNLimp,
        kLimpCall,
        kLimpRaise,
        kLimpFold,
        kNFace3Bet,
        k4Bet,
        kCall3Bet,
        kFold3Bet,
        kWtsd,
        kWonSd,
        kNetWon,
        kBbPer100,
        kColumnCount
    };
    // The first sixteen columns keep their widths in "c00".."c15"; the others
    // follow on.
    static constexpr int kClassicColumns = 16;
    static constexpr int kSortRole = Qt::UserRole + 10;

    explicit CPlayerListModel(QObject* parent = nullptr);

    static QString Title(int column);

    void SetRows(std::vector<kroStats::CPlayerListRow> rows);
    const std::vector<kroStats::CPlayerListRow>& Rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The value a cell sorts by; -1 for a percentage without a chance.
    static double SortValue(const kroStats::CPlayerListRow& row, int column);
    static QString Text(const kroStats::CPlayerListRow& row, int column);

private:
    std::vector<kroStats::CPlayerListRow> m_rows;
};
