// The player list: every player of the chosen room and period with their
// statistics, read in the background, sortable by any column and filtered by
// name. Its column widths and font are kept in the profile. Main thread only.
#pragma once

#include "app/CFontHelper.h"
#include "app/CVeltrixDoc.h"

#include <QString>
#include <QWidget>

#include <memory>

struct CMainFrameContext;
class CFListCtrl;
class CPlayerListLoader;
class CPlayerListModel;
class IDialogs;
class QComboBox;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QToolButton;

class CVeltrixView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kListId = 1001;
    static const QColor kBackground;

    // Requires: `context` outlives the view.
    explicit CVeltrixView(CMainFrameContext& context, QWidget* parent = nullptr);
    ~CVeltrixView() override;

    // Colours, columns with their stored widths and the stored font; then
    // the first load.
    void OnInitialUpdate();
    // Reads the list again for the chosen room and period.
    void Refresh();
    // Shows only the players whose name contains `text` (any case).
    void SetNameFilter(const QString& text);
    // The room by the sites table's id (0: every room) and the period.
    void SetRoom(int siteId);
    enum class Period
    {
        AllTime,
        ThisMonth,
        LastThreeMonths,
        LastSixMonths,
        ThisYear,
        LastTwelveMonths,
    };
    void SetPeriod(Period period);
    // The first second of the period in local time; 0 for all time.
    static int64_t PeriodStart(Period period, int64_t now);

    CFListCtrl* List() const { return m_list; }
    CPlayerListModel* Model() const { return m_model; }
    QSortFilterProxyModel* Proxy() const { return m_proxy; }
    const CFontHelper& Font() const { return m_font; }
    bool Loading() const;
    QString StatusText() const;
    // The visible rows in their order, with a header line.
    QString ToCsv() const;
    // Prints the visible rows on the default printer.
    void PrintDirect(IDialogs& dialogs);

    // Writes the column widths to the profile (also when the view closes).
    void SaveColumnWidths();

signals:
    // A load finished (rows shown or an error in the status).
    void Loaded();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ApplyFont();

    CMainFrameContext& m_context;
    CVeltrixDoc m_document;
    CFontHelper m_font;
    CFListCtrl* m_list;
    CPlayerListModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QComboBox* m_room;
    QComboBox* m_period;
    QLineEdit* m_filter;
    QToolButton* m_refresh;
    QLabel* m_status;
    std::unique_ptr<CPlayerListLoader> m_loader;
    bool m_widthsSaved = false;
};
