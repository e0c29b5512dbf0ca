// A report-style list: columns with titles and widths, rows of text, colours of
// its own, and in-place editors (a line edit or a combo box) for the columns
// that ask for one. It shows either its own rows (filled through the item
// calls below) or any table model given with setModel. Main thread only.
#pragma once

#include <QColor>
#include <QStringList>
#include <QTreeView>
#include <QVector>

class QStandardItemModel;

class CFListCtrl : public QTreeView
{
    Q_OBJECT

public:
    // What editing a cell of a column offers.
    enum class Editor
    {
        None,
        Edit,
        Combo,
    };

    explicit CFListCtrl(QWidget* parent = nullptr);
    ~CFListCtrl() override;

    // Columns of the list's own rows. InsertColumn returns the new column's
    // index, -1 for a position out of range.
    int InsertColumn(int column, const QString& title, int width);
    int ColumnCount() const;
    QString ColumnTitle(int column) const;
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Rows of the list's own model. InsertItem returns the new row's index
    // (a position past the end appends), -1 without columns.
    int InsertItem(int row, const QString& text);
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    bool SetItemData(int row, qlonglong value);
    qlonglong GetItemData(int row) const;
    int GetItemCount() const;
    bool DeleteItem(int row);
    void DeleteAllItems();
    // The first selected row, -1 when none.
    int GetSelectedRow() const;
    void SelectRow(int row);

    // The in-place editor of `column`; `choices` are the combo box's entries.
    void SetColumnEditor(int column, Editor editor, const QStringList& choices = {});
    Editor ColumnEditor(int column) const;
    QStringList ColumnChoices(int column) const;

    void SetBkColor(const QColor& color);
    QColor GetBkColor() const { return m_background; }
    void SetTextColor(const QColor& color);
    QColor GetTextColor() const { return m_text; }

    // Starts the in-place editor of a cell; false when its column has none.
    bool EditCell(int row, int column);

    // The list's own model (also when another model is shown).
    QStandardItemModel* OwnModel() const { return m_own; }

signals:
    // A cell's text was changed by its in-place editor.
    void ItemEdited(int row, int column, const QString& text);

private:
    void ApplyColors();

    QStandardItemModel* m_own;
    QColor m_background{53, 53, 53};
    QColor m_text{Qt::white};
    struct CColumnEditor
    {
        Editor editor = Editor::None;
        QStringList choices;
    };
    QVector<CColumnEditor> m_editors;

    friend class CFListCtrlDelegate;
};
