#include "app/widgets/CFListCtrl.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kItemDataRole = Qt::UserRole + 1;

}  // namespace

// Draws the rows in the list's colours with a faint grid line, and makes the
// in-place editor that a column asks for.
class CFListCtrlDelegate : public QStyledItemDelegate
{
public:
    explicit CFListCtrlDelegate(CFListCtrl* list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {}

    void paint(QPainter* painter,
               const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        if (!index.data(Qt::ForegroundRole).isValid()) {
            opt.palette.setColor(QPalette::Text, m_list->m_text);
        }
        QStyledItemDelegate::paint(painter, opt, index);
        painter->save();
        painter->setPen(m_list->m_background.lighter(135));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent,
                          const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        switch (m_list->ColumnEditor(index.column())) {
        case CFListCtrl::Editor::Edit:
            return new QLineEdit(parent);
        case CFListCtrl::Editor::Combo: {
            auto* combo = new QComboBox(parent);
            combo->addItems(m_list->ColumnChoices(index.column()));
            return combo;
        }
        case CFListCtrl::Editor::None:
            break;
        }
        (void)option;
        return nullptr;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data(Qt::EditRole).toString();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int at = combo->findText(text);
            combo->setCurrentIndex(at < 0 ? 0 : at);
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setText(text);
            edit->selectAll();
        }
    }

    void setModelData(QWidget* editor,
                      QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        QString text;
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            text = combo->currentText();
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            text = edit->text();
        } else {
            return;
        }
        if (model->data(index, Qt::EditRole).toString() == text) {
            return;
        }
        if (model->setData(index, text, Qt::EditRole)) {
            emit m_list->ItemEdited(index.row(), index.column(), text);
        }
    }

private:
    // The list owns this delegate.
    CFListCtrl* m_list;
};

CFListCtrl::CFListCtrl(QWidget* parent)
    : QTreeView(parent)
    , m_own(new QStandardItemModel(this))
{
    setModel(m_own);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed);
    setItemDelegate(new CFListCtrlDelegate(this));
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ApplyColors();
}

CFListCtrl::~CFListCtrl() = default;

int CFListCtrl::InsertColumn(int column, const QString& title, int width)
{
    if (column < 0 || column > m_own->columnCount()) {
        return -1;
    }
    m_own->insertColumns(column, 1);
    m_own->setHeaderData(column, Qt::Horizontal, title);
    m_editors.insert(column, CColumnEditor{});
    if (model() == m_own) {
        setColumnWidth(column, width);
    }
    return column;
}

int CFListCtrl::ColumnCount() const
{
    return model() == nullptr ? 0 : model()->columnCount();
}

QString CFListCtrl::ColumnTitle(int column) const
{
    return model() == nullptr ? QString() : model()->headerData(column, Qt::Horizontal).toString();
}

int CFListCtrl::GetColumnWidth(int column) const
{
    return columnWidth(column);
}

void CFListCtrl::SetColumnWidth(int column, int width)
{
    setColumnWidth(column, width);
}

int CFListCtrl::InsertItem(int row, const QString& text)
{
    if (m_own->columnCount() == 0 || row < 0) {
        return -1;
    }
    row = std::min(row, m_own->rowCount());
    QList<QStandardItem*> items;
    for (int c = 0; c < m_own->columnCount(); ++c) {
        items.append(new QStandardItem(c == 0 ? text : QString()));
    }
    m_own->insertRow(row, items);
    return row;
}

bool CFListCtrl::SetItemText(int row, int column, const QString& text)
{
    QStandardItem* item = m_own->item(row, column);
    if (item == nullptr) {
        return false;
    }
    item->setText(text);
    return true;
}

QString CFListCtrl::GetItemText(int row, int column) const
{
    const QStandardItem* item = m_own->item(row, column);
    return item == nullptr ? QString() : item->text();
}

bool CFListCtrl::SetItemData(int row, qlonglong value)
{
    QStandardItem* item = m_own->item(row, 0);
    if (item == nullptr) {
        return false;
    }
    item->setData(value, kItemDataRole);
    return true;
}

qlonglong CFListCtrl::GetItemData(int row) const
{
    const QStandardItem* item = m_own->item(row, 0);
    return item == nullptr ? 0 : item->data(kItemDataRole).toLongLong();
}

int CFListCtrl::GetItemCount() const
{
    return model() == nullptr ? 0 : model()->rowCount();
}

bool CFListCtrl::DeleteItem(int row)
{
    return row >= 0 && row < m_own->rowCount() && m_own->removeRow(row);
}

void CFListCtrl::DeleteAllItems()
{
    m_own->removeRows(0, m_own->rowCount());
}

int CFListCtrl::GetSelectedRow() const
{
    const QModelIndexList rows =
        selectionModel() == nullptr ? QModelIndexList() : selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CFListCtrl::SelectRow(int row)
{
    if (model() == nullptr || row < 0 || row >= model()->rowCount()) {
        clearSelection();
        return;
    }
    setCurrentIndex(model()->index(row, 0));
}

void CFListCtrl::SetColumnEditor(int column, Editor editor, const QStringList& choices)
{
    if (column < 0) {
        return;
    }
    if (column >= m_editors.size()) {
        m_editors.resize(column + 1);
    }
    m_editors[column] = CColumnEditor{editor, choices};
}

CFListCtrl::Editor CFListCtrl::ColumnEditor(int column) const
{
    return column >= 0 && column < m_editors.size() ? m_editors[column].editor : Editor::None;
}

QStringList CFListCtrl::ColumnChoices(int column) const
{
    return column >= 0 && column < m_editors.size() ? m_editors[column].choices : QStringList();
}

void CFListCtrl::SetBkColor(const QColor& color)
{
    m_background = color;
    ApplyColors();
}

void CFListCtrl::SetTextColor(const QColor& color)
{
    m_text = color;
    ApplyColors();
}

bool CFListCtrl::EditCell(int row, int column)
{
    if (ColumnEditor(column) == Editor::None || model() == nullptr) {
        return false;
    }
    const QModelIndex index = model()->index(row, column);
    if (!index.isValid()) {
        return false;
    }
    setCurrentIndex(index);
    edit(index);
    return state() == QAbstractItemView::EditingState;
}

void CFListCtrl::ApplyColors()
{
    QPalette p = palette();
    p.setColor(QPalette::Base, m_background);
    p.setColor(QPalette::AlternateBase, m_background.lighter(112));
    p.setColor(QPalette::Text, m_text);
    p.setColor(QPalette::Window, m_background);
    setPalette(p);
    setAlternatingRowColors(true);
    viewport()->update();
}
