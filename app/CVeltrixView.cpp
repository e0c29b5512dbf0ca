#include "app/CVeltrixView.h"

#include "app/CMainFrameContext.h"
#include "app/CPlayerListLoader.h"
#include "app/CPlayerListModel.h"
#include "app/IDialogs.h"
#include "app/core/CDatabaseSettings.h"
#include "app/widgets/CFListCtrl.h"
#include "db/CDbContext.h"
#include "foundation/CStatDefinitions.h"
#include "foundation/IProfile.h"
#include "foundation/LocalTime.h"
#include "foundation/WideText.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSortFilterProxyModel>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <ctime>

const QColor CVeltrixView::kBackground(53, 53, 53);

namespace {

const wchar_t* const kSection = L"PlayerList";

QString CsvField(QString text)
{
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n'))) {
        text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

}  // namespace

CVeltrixView::CVeltrixView(CMainFrameContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_font(context.profile, L"Settings", L"FontObjects")
    , m_list(new CFListCtrl(this))
    , m_model(new CPlayerListModel(this))
    , m_proxy(new QSortFilterProxyModel(this))
    , m_room(new QComboBox(this))
    , m_period(new QComboBox(this))
    , m_filter(new QLineEdit(this))
    , m_refresh(new QToolButton(this))
    , m_status(new QLabel(this))
    , m_loader(std::make_unique<CPlayerListLoader>(context.db.Environment()))
{
    setObjectName(QStringLiteral("PlayerListView"));
    (void)m_document.OnNewDocument();
    (void)m_font.Load();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("PlayerListBar"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 5, 8, 5);
    row->setSpacing(6);
    row->addWidget(new QLabel(QStringLiteral("Room:"), bar));
    m_room->addItem(QStringLiteral("All rooms"), 0);
    std::vector<CStatDefinition> sites;
    context.definitions.ReadStatSection(L"sites", sites);
    for (const CStatDefinition& site : sites) {
        m_room->addItem(QString::fromStdWString(site.description), site.id);
    }
    m_room->setMinimumWidth(160);
    row->addWidget(m_room);
    row->addSpacing(8);
    row->addWidget(new QLabel(QStringLiteral("Period:"), bar));
    for (const char* name : {"All time", "This month", "Last 3 months", "Last 6 months",
                             "This year", "Last 12 months"}) {
        m_period->addItem(QString::fromLatin1(name));
    }
    row->addWidget(m_period);
    row->addSpacing(8);
    m_filter->setPlaceholderText(QStringLiteral("Find player..."));
    m_filter->setClearButtonEnabled(true);
    m_filter->setMinimumWidth(200);
    row->addWidget(m_filter);
    m_refresh->setText(QStringLiteral("Refresh"));
    m_refresh->setToolTip(QStringLiteral("Read the players again (F5)"));
    m_refresh->setShortcut(QKeySequence(Qt::Key_F5));
    row->addWidget(m_refresh);
    row->addStretch(1);
    m_status->setObjectName(QStringLiteral("PlayerListStatus"));
    row->addWidget(m_status);
    layout->addWidget(bar);

    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(CPlayerListModel::kSortRole);
    m_proxy->setFilterKeyColumn(CPlayerListModel::kName);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_list->setObjectName(QStringLiteral("PlayerList"));
    m_list->setProperty("vxControlId", kListId);
    m_list->setModel(m_proxy);
    m_list->setSortingEnabled(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setSortIndicatorShown(true);
    m_list->sortByColumn(CPlayerListModel::kHands, Qt::DescendingOrder);
    layout->addWidget(m_list, 1);

    const int storedRoom = m_context.profile.GetProfileInt(kSection, L"Room", 0);
    const int roomAt = m_room->findData(storedRoom);
    m_room->setCurrentIndex(roomAt < 0 ? 0 : roomAt);
    const int storedPeriod = m_context.profile.GetProfileInt(kSection, L"Period", 0);
    m_period->setCurrentIndex(storedPeriod >= 0 && storedPeriod < m_period->count() ? storedPeriod
                                                                                    : 0);

    connect(m_filter, &QLineEdit::textChanged, this, &CVeltrixView::SetNameFilter);
    connect(m_refresh, &QToolButton::clicked, this, &CVeltrixView::Refresh);
    connect(m_room, &QComboBox::activated, this, [this] {
        m_context.profile.WriteProfileInt(kSection, L"Room", m_room->currentData().toInt());
        Refresh();
    });
    connect(m_period, &QComboBox::activated, this, [this] {
        m_context.profile.WriteProfileInt(kSection, L"Period", m_period->currentIndex());
        Refresh();
    });
}

CVeltrixView::~CVeltrixView()
{
    SaveColumnWidths();
    m_font.Save();
}

void CVeltrixView::OnInitialUpdate()
{
    m_list->SetBkColor(kBackground);
    m_list->SetTextColor(Qt::white);
    for (int column = 0; column < CPlayerListModel::kColumnCount; ++column) {
        const int width =
            m_context.profile.GetProfileInt(L"Column Settings", FormatW(L"c%02d", column), 150);
        m_list->SetColumnWidth(column, width > 0 ? width : 150);
    }
    ApplyFont();
    Refresh();
}

void CVeltrixView::ApplyFont()
{
    const QFont font = m_font.Font();
    m_list->setFont(font);
    m_list->header()->setFont(font);
    update();
}

void CVeltrixView::SaveColumnWidths()
{
    if (m_widthsSaved || m_list->model() == nullptr) {
        return;
    }
    m_widthsSaved = true;
    for (int column = 0; column < CPlayerListModel::kColumnCount; ++column) {
        m_context.profile.WriteProfileInt(L"Column Settings", FormatW(L"c%02d", column),
                                          m_list->GetColumnWidth(column));
    }
}

int64_t CVeltrixView::PeriodStart(Period period, int64_t now)
{
    if (period == Period::AllTime) {
        return 0;
    }
    const std::time_t t = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&t, &local);
    int year = local.tm_year + 1900;
    int month = local.tm_mon + 1;
    int back = 0;
    switch (period) {
    case Period::ThisMonth:
        back = 0;
        break;
    case Period::LastThreeMonths:
        back = 3;
        break;
    case Period::LastSixMonths:
        back = 6;
        break;
    case Period::LastTwelveMonths:
        back = 12;
        break;
    case Period::ThisYear:
        back = month - 1;
        break;
    case Period::AllTime:
        break;
    }
    month -= back;
    while (month < 1) {
        month += 12;
        --year;
    }
    return LocalDateTimeToSeconds(year, month, 1, 0, 0, 0).value_or(0);
}

void CVeltrixView::SetNameFilter(const QString& text)
{
    if (m_filter->text() != text) {
        m_filter->setText(text);
    }
    m_proxy->setFilterFixedString(text);
    m_status->setText(
        QStringLiteral("%1 of %2 players").arg(m_proxy->rowCount()).arg(m_model->rowCount()));
}

void CVeltrixView::SetRoom(int siteId)
{
    const int at = m_room->findData(siteId);
    m_room->setCurrentIndex(at < 0 ? 0 : at);
}

void CVeltrixView::SetPeriod(Period period)
{
    m_period->setCurrentIndex(static_cast<int>(period));
}

bool CVeltrixView::Loading() const
{
    return m_loader->Busy();
}

QString CVeltrixView::StatusText() const
{
    return m_status->text();
}

void CVeltrixView::Refresh()
{
    kroStats::CPlayerListFilter filter;
    filter.siteId = m_room->currentData().toInt();
    filter.fromLocalTime = PeriodStart(static_cast<Period>(m_period->currentIndex()),
                                       static_cast<int64_t>(std::time(nullptr)));
    m_status->setText(QStringLiteral("Reading players..."));
    const std::wstring connect = ReadDatabaseSettings(m_context.profile).ConnectString();
    m_loader->Load(connect, filter, [this](CPlayerListLoader::CResult& result) {
        if (!result.error.empty()) {
            m_model->SetRows({});
            m_status->setText(QStringLiteral(
                "No players: the database cannot be read (create it on the Database tab)."));
            m_status->setToolTip(QString::fromStdWString(kroDB::MaskPassword(result.error)));
            emit Loaded();
            return;
        }
        m_status->setToolTip(QString());
        m_model->SetRows(std::move(result.rows));
        m_list->sortByColumn(m_list->header()->sortIndicatorSection(),
                             m_list->header()->sortIndicatorOrder());
        const QString shown = m_proxy->rowCount() == m_model->rowCount()
                                  ? QLocale().toString(m_model->rowCount())
                                  : QStringLiteral("%1 of %2")
                                        .arg(QLocale().toString(m_proxy->rowCount()),
                                             QLocale().toString(m_model->rowCount()));
        m_status->setText(
            QStringLiteral("%1 players, read in %2 s").arg(shown).arg(result.seconds, 0, 'f', 2));
        emit Loaded();
    });
}

QString CVeltrixView::ToCsv() const
{
    QStringList lines;
    QStringList header;
    for (int column = 0; column < CPlayerListModel::kColumnCount; ++column) {
        header.append(CsvField(CPlayerListModel::Title(column)));
    }
    lines.append(header.join(QLatin1Char(',')));
    for (int row = 0; row < m_proxy->rowCount(); ++row) {
        QStringList fields;
        for (int column = 0; column < CPlayerListModel::kColumnCount; ++column) {
            fields.append(CsvField(m_proxy->index(row, column).data().toString()));
        }
        lines.append(fields.join(QLatin1Char(',')));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void CVeltrixView::PrintDirect(IDialogs& dialogs)
{
    if (QPrinterInfo::defaultPrinter().isNull()) {
        dialogs.Message(this, QStringLiteral("No printer is installed."));
        return;
    }
    QString html = QStringLiteral(
        "<h3>Veltrix players</h3><table border=1 cellspacing=0 "
        "cellpadding=2><tr>");
    for (int column = 0; column < CPlayerListModel::kColumnCount; ++column) {
        html += QStringLiteral("<th>%1</th>").arg(CPlayerListModel::Title(column).toHtmlEscaped());
    }
    html += QStringLiteral("</tr>");
    for (int row = 0; row < m_proxy->rowCount(); ++row) {
        html += QStringLiteral("<tr>");
        for (int column = 0; column < CPlayerListModel::kColumnCount; ++column) {
            html += QStringLiteral("<td>%1</td>")
                        .arg(m_proxy->index(row, column).data().toString().toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    QPrinter printer(QPrinterInfo::defaultPrinter());
    printer.setPageOrientation(QPageLayout::Landscape);
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}

void CVeltrixView::contextMenuEvent(QContextMenuEvent* event)
{
    // The list is read-only: only Copy has something to do.
    QMenu menu(QStringLiteral("Edit"), this);
    menu.addAction(QStringLiteral("Cu&t"))->setEnabled(false);
    QAction* copy = menu.addAction(QStringLiteral("&Copy"));
    menu.addAction(QStringLiteral("&Paste"))->setEnabled(false);
    const QModelIndexList rows = m_list->selectionModel() == nullptr
                                     ? QModelIndexList()
                                     : m_list->selectionModel()->selectedRows();
    copy->setEnabled(!rows.isEmpty());
    connect(copy, &QAction::triggered, this, [this, rows] {
        QStringList lines;
        for (const QModelIndex& index : rows) {
            QStringList fields;
            for (int column = 0; column < CPlayerListModel::kColumnCount; ++column) {
                fields.append(m_proxy->index(index.row(), column).data().toString());
            }
            lines.append(fields.join(QLatin1Char('\t')));
        }
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
    });
    menu.exec(event->globalPos());
}
