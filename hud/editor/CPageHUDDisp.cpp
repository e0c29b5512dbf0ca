#include "hud/editor/CPageHUDDisp.h"

#include "hud/editor/CDlgNewHUD.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const wchar_t* const kNameItem = L"Name";
const wchar_t* const kNewLine = L"-------new line-------";

QString Q(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

QTableWidget* MakeList(const QString& column, int width, const char* name, QWidget* parent)
{
    auto* list = new QTableWidget(0, 1, parent);
    list->setObjectName(QLatin1String(name));
    list->setHorizontalHeaderLabels({column});
    list->horizontalHeader()->setStretchLastSection(false);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->setColumnWidth(0, width);
    list->verticalHeader()->setVisible(false);
    list->verticalHeader()->setDefaultSectionSize(20);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setMinimumWidth(width + 20);
    return list;
}

void SetRows(QTableWidget* list, const std::vector<std::wstring>& rows)
{
    list->setRowCount(0);
    list->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        list->setItem(i, 0, new QTableWidgetItem(Q(rows[static_cast<size_t>(i)])));
    }
}

std::wstring RowText(const QTableWidget* list, int row)
{
    const QTableWidgetItem* item = row >= 0 ? list->item(row, 0) : nullptr;
    return item != nullptr ? item->text().toStdWString() : std::wstring();
}

}  // namespace

CPageHUDDisp::CPageHUDDisp(IHudLayoutStore& store,
                           std::vector<std::wstring> statNames,
                           const std::wstring& inUse,
                           QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_statNames(std::move(statNames))
{
    setObjectName(QStringLiteral("HUDOptions"));
    auto* grid = new QGridLayout(this);

    m_layouts = MakeList(tr("Name Stat"), 167, "huds", this);
    m_items = MakeList(tr("Name Stat"), 167, "newHud", this);
    m_stats = MakeList(tr("Name Stat"), 167, "statistics", this);
    m_preview = MakeList(tr("Preview"), 177, "preview", this);
    m_preview->setShowGrid(false);
    m_preview->setSelectionMode(QAbstractItemView::NoSelection);
    m_preview->setFocusPolicy(Qt::NoFocus);
    m_preview->setStyleSheet(QStringLiteral(
        "QTableWidget { background: #353535; color: white; font-family: monospace; }"));

    grid->addWidget(new QLabel(tr("HUDs:"), this), 0, 0);
    grid->addWidget(new QLabel(tr("New HUD:"), this), 0, 1);
    grid->addWidget(new QLabel(tr("Statistics:"), this), 0, 3);
    grid->addWidget(new QLabel(tr("Preview:"), this), 0, 4);
    grid->addWidget(m_layouts, 1, 0);
    grid->addWidget(m_items, 1, 1);
    grid->addWidget(m_stats, 1, 3);
    grid->addWidget(m_preview, 1, 4);

    auto makeButton = [this](const QString& text, QStyle::StandardPixmap icon, const char* name) {
        auto* button = new QPushButton(style()->standardIcon(icon), text, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        return button;
    };
    auto* arrows = new QVBoxLayout();
    arrows->addStretch(1);
    auto* add = new QToolButton(this);
    add->setObjectName(QStringLiteral("add"));
    add->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    add->setToolTip(tr("Add the selected statistic to the HUD"));
    auto* takeOut = new QToolButton(this);
    takeOut->setObjectName(QStringLiteral("takeOut"));
    takeOut->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    takeOut->setToolTip(tr("Take the selected item out of the HUD"));
    arrows->addWidget(add);
    arrows->addWidget(takeOut);
    arrows->addStretch(1);
    grid->addLayout(arrows, 1, 2);

    auto* layoutButtons = new QVBoxLayout();
    QPushButton* newHud = makeButton(tr("New HUD"), QStyle::SP_FileIcon, "newHudButton");
    QPushButton* deleteHud = makeButton(tr("Delete HUD"), QStyle::SP_TrashIcon, "deleteHud");
    QPushButton* renameHud =
        makeButton(tr("Rename HUD"), QStyle::SP_FileDialogContentsView, "renameHud");
    layoutButtons->addWidget(newHud);
    layoutButtons->addWidget(deleteHud);
    layoutButtons->addWidget(renameHud);
    grid->addLayout(layoutButtons, 2, 0, Qt::AlignTop);

    auto* itemButtons = new QVBoxLayout();
    QPushButton* newLine = makeButton(tr("New line"), QStyle::SP_ArrowDown, "newLine");
    QPushButton* save = makeButton(tr("Save"), QStyle::SP_DialogSaveButton, "save");
    itemButtons->addWidget(newLine);
    itemButtons->addWidget(save);
    grid->addLayout(itemButtons, 2, 1, Qt::AlignTop);

    auto* current = new QHBoxLayout();
    current->addWidget(new QLabel(tr("HUD:"), this));
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("currentName"));
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    current->addWidget(m_name, 1);
    grid->addLayout(current, 2, 3, 1, 2, Qt::AlignTop);

    connect(add, &QToolButton::clicked, this, &CPageHUDDisp::AddStatistic);
    connect(takeOut, &QToolButton::clicked, this, &CPageHUDDisp::TakeOut);
    connect(newLine, &QPushButton::clicked, this, &CPageHUDDisp::AddNewLine);
    connect(newHud, &QPushButton::clicked, this, &CPageHUDDisp::NewHud);
    connect(save, &QPushButton::clicked, this, &CPageHUDDisp::SaveHud);
    connect(deleteHud, &QPushButton::clicked, this, &CPageHUDDisp::DeleteHud);
    connect(renameHud, &QPushButton::clicked, this, &CPageHUDDisp::RenameHud);
    connect(m_layouts, &QTableWidget::cellClicked, this,
            [this](int row, int) { MakeCurrent(RowText(m_layouts, row)); });
    connect(m_stats, &QTableWidget::cellDoubleClicked, this, [this] { AddStatistic(); });
    connect(m_items, &QTableWidget::cellDoubleClicked, this, [this] { TakeOut(); });

    FillLayouts();
    if (m_store.Find(inUse) != nullptr) {
        SelectLayout(inUse);
        MakeCurrent(inUse);
    } else {
        ShowCurrent();
    }
    m_layouts->setFocus();
}

std::vector<std::wstring> CPageHUDDisp::PreviewLines(const IHudLayoutStore::Items& items)
{
    std::vector<std::wstring> lines(1);
    for (const auto& [index, text] : items) {
        (void)index;
        if (text == kNewLine) {
            lines.emplace_back();
        } else if (lines.back().empty()) {
            lines.back() = text;
        } else {
            lines.back() += L"/" + text;
        }
    }
    return lines;
}

void CPageHUDDisp::FillLayouts()
{
    SetRows(m_layouts, m_store.Names());
    if (m_hasCurrent) {
        SelectLayout(m_current);
    }
}

std::wstring CPageHUDDisp::SelectedLayout() const
{
    const auto rows = m_layouts->selectionModel()->selectedRows();
    return rows.isEmpty() ? std::wstring() : RowText(m_layouts, rows.first().row());
}

void CPageHUDDisp::SelectLayout(const std::wstring& name)
{
    for (int row = 0; row < m_layouts->rowCount(); ++row) {
        if (RowText(m_layouts, row) == name) {
            m_layouts->selectRow(row);
            return;
        }
    }
}

void CPageHUDDisp::SelectStatistic(const std::wstring& name)
{
    for (int row = 0; row < m_stats->rowCount(); ++row) {
        if (RowText(m_stats, row) == name) {
            m_stats->selectRow(row);
            return;
        }
    }
}

void CPageHUDDisp::SelectItem(int row)
{
    m_items->selectRow(row);
}

IHudLayoutStore::Items* CPageHUDDisp::CurrentItems()
{
    return m_hasCurrent ? m_store.Find(m_current) : nullptr;
}

void CPageHUDDisp::MakeCurrent(const std::wstring& name)
{
    if (m_hasCurrent && name == m_current && CurrentItems() != nullptr) {
        return;
    }
    if (m_store.Find(name) == nullptr) {
        return;
    }
    m_current = name;
    m_hasCurrent = true;
    ShowCurrent();
}

void CPageHUDDisp::ShowCurrent()
{
    m_name->setText(Q(m_current));
    const IHudLayoutStore::Items* items = CurrentItems();
    std::vector<std::wstring> rows;
    if (items != nullptr) {
        for (const auto& [index, text] : *items) {
            (void)index;
            rows.push_back(text);
        }
    }
    SetRows(m_items, rows);
    SetRows(m_preview, items != nullptr ? PreviewLines(*items) : std::vector<std::wstring>{});
    // Statistics the layout holds cannot be added twice; the others (also
    // those another layout holds) can.
    std::vector<std::wstring> free;
    for (const auto& stat : m_statNames) {
        if (std::find(rows.begin(), rows.end(), stat) == rows.end()) {
            free.push_back(stat);
        }
    }
    SetRows(m_stats, free);
}

void CPageHUDDisp::AddStatistic()
{
    IHudLayoutStore::Items* items = CurrentItems();
    const auto rows = m_stats->selectionModel()->selectedRows();
    if (items == nullptr || rows.isEmpty()) {
        return;
    }
    const int row = rows.first().row();
    const std::wstring stat = RowText(m_stats, row);
    // After the last index: a layout read with a gap must not lose an item.
    const int32_t next = items->empty() ? 0 : items->rbegin()->first + 1;
    (*items)[next] = stat;
    m_items->insertRow(m_items->rowCount());
    m_items->setItem(m_items->rowCount() - 1, 0, new QTableWidgetItem(Q(stat)));
    m_stats->removeRow(row);
    SetRows(m_preview, PreviewLines(*items));
}

void CPageHUDDisp::TakeOut()
{
    IHudLayoutStore::Items* items = CurrentItems();
    const auto rows = m_items->selectionModel()->selectedRows();
    if (items == nullptr || rows.isEmpty()) {
        return;
    }
    const int row = rows.first().row();
    if (row >= static_cast<int>(items->size())) {
        return;
    }
    auto it = std::next(items->begin(), row);
    const std::wstring text = it->second;
    if (text == kNameItem) {
        return;
    }
    // The items after it move down by one index.
    IHudLayoutStore::Items moved;
    int32_t shift = 0;
    for (const auto& [index, item] : *items) {
        if (index == it->first) {
            shift = 1;
            continue;
        }
        moved[index - shift] = item;
    }
    *items = std::move(moved);
    m_items->removeRow(row);
    SetRows(m_preview, PreviewLines(*items));
    if (text != kNewLine) {
        m_stats->insertRow(m_stats->rowCount());
        m_stats->setItem(m_stats->rowCount() - 1, 0, new QTableWidgetItem(Q(text)));
    }
}

void CPageHUDDisp::AddNewLine()
{
    IHudLayoutStore::Items* items = CurrentItems();
    if (items == nullptr) {
        return;
    }
    const int32_t next = items->empty() ? 0 : items->rbegin()->first + 1;
    (*items)[next] = kNewLine;
    m_items->insertRow(m_items->rowCount());
    m_items->setItem(m_items->rowCount() - 1, 0, new QTableWidgetItem(Q(kNewLine)));
    SetRows(m_preview, PreviewLines(*items));
}

void CPageHUDDisp::NewHud()
{
    QString name;
    if (!AskName(name)) {
        return;
    }
    const std::wstring wanted = name.toStdWString();
    // An empty name cannot be chosen later, and an existing one would lose
    // that layout's items as soon as it is saved.
    if (wanted.empty()) {
        ShowMessage(tr("Please enter a name for the HUD."));
        return;
    }
    if (m_store.Find(wanted) != nullptr) {
        ShowMessage(tr("A HUD named \"%1\" exists already.").arg(name));
        return;
    }
    (void)m_store.NewLayout(wanted);
    m_current = wanted;
    m_hasCurrent = true;
    ShowCurrent();
}

void CPageHUDDisp::SaveHud()
{
    if (CurrentItems() == nullptr) {
        return;
    }
    const CStatus status = m_store.SaveHudLayout(m_current);
    if (!status.IsOk()) {
        ShowMessage(tr("The HUD could not be saved: %1").arg(Q(status.Message())));
    }
    FillLayouts();
}

void CPageHUDDisp::DeleteHud()
{
    const std::wstring name = SelectedLayout();
    if (name.empty() && m_layouts->selectionModel()->selectedRows().isEmpty()) {
        return;
    }
    const CStatus status = m_store.DeleteHudLayout(name);
    if (!status.IsOk()) {
        ShowMessage(tr("The HUD could not be deleted: %1").arg(Q(status.Message())));
        return;
    }
    if (name == m_current) {
        m_current.clear();
        m_hasCurrent = false;
        ShowCurrent();
    }
    FillLayouts();
}

void CPageHUDDisp::RenameHud()
{
    if (CurrentItems() == nullptr) {
        return;
    }
    QString name = Q(m_current);
    if (!AskName(name)) {
        return;
    }
    const std::wstring wanted = name.toStdWString();
    if (wanted == m_current) {
        return;
    }
    const CStatus status = m_store.RenameHudLayout(m_current, wanted);
    if (!status.IsOk()) {
        ShowMessage(tr("The HUD could not be renamed: %1").arg(Q(status.Message())));
        return;
    }
    m_current = wanted;
    FillLayouts();
    m_name->setText(Q(m_current));
}

void CPageHUDDisp::ShowMessage(const QString& text)
{
    if (m_message) {
        m_message(text);
        return;
    }
    QMessageBox::information(this, tr("HUD Options"), text);
}

bool CPageHUDDisp::AskName(QString& name)
{
    if (m_askName) {
        return m_askName(name);
    }
    CDlgNewHUD dialog(name, this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    name = dialog.Name();
    return true;
}
