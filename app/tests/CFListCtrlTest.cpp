#include "app/widgets/CFListCtrl.h"

#include <gtest/gtest.h>

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardItemModel>

TEST(CFListCtrlTest, ColumnsAndRowsOfItsOwn)
{
    CFListCtrl list;
    EXPECT_EQ(list.InsertItem(0, "no columns yet"), -1);
    EXPECT_EQ(list.InsertColumn(0, "Stat", 120), 0);
    EXPECT_EQ(list.InsertColumn(1, "Value", 60), 1);
    EXPECT_EQ(list.InsertColumn(5, "Out of range", 60), -1);
    EXPECT_EQ(list.ColumnCount(), 2);
    EXPECT_EQ(list.ColumnTitle(1), "Value");
    EXPECT_EQ(list.GetColumnWidth(0), 120);
    EXPECT_EQ(list.InsertItem(0, "VPIP"), 0);
    EXPECT_EQ(list.InsertItem(99, "PFR"), 1);
    EXPECT_EQ(list.InsertItem(0, "Hands"), 0);
    EXPECT_TRUE(list.SetItemText(2, 1, "18.5"));
    EXPECT_FALSE(list.SetItemText(7, 1, "x"));
    EXPECT_EQ(list.GetItemText(0, 0), "Hands");
    EXPECT_EQ(list.GetItemText(2, 1), "18.5");
    EXPECT_EQ(list.GetItemText(9, 9), QString());
    EXPECT_TRUE(list.SetItemData(1, 4711));
    EXPECT_EQ(list.GetItemData(1), 4711);
    EXPECT_EQ(list.GetItemCount(), 3);
    list.SelectRow(2);
    EXPECT_EQ(list.GetSelectedRow(), 2);
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_FALSE(list.DeleteItem(5));
    EXPECT_EQ(list.GetItemText(0, 0), "VPIP");
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_EQ(list.GetSelectedRow(), -1);
}

TEST(CFListCtrlTest, InPlaceComboAndEditChangeTheCellAndSayWhich)
{
    CFListCtrl list;
    list.InsertColumn(0, "Stat", 120);
    list.InsertColumn(1, "Color", 80);
    list.InsertColumn(2, "Name", 80);
    list.InsertItem(0, "VPIP");
    list.SetItemText(0, 1, "Red");
    list.SetColumnEditor(1, CFListCtrl::Editor::Combo, {"Red", "Green", "Blue"});
    list.SetColumnEditor(2, CFListCtrl::Editor::Edit);
    list.show();
    QSignalSpy edited(&list, &CFListCtrl::ItemEdited);

    EXPECT_FALSE(list.EditCell(0, 0));
    ASSERT_TRUE(list.EditCell(0, 1));
    auto* combo = list.findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "Red");
    combo->setCurrentIndex(2);
    emit list.itemDelegate()->commitData(combo);
    EXPECT_EQ(list.GetItemText(0, 1), "Blue");

    ASSERT_TRUE(list.EditCell(0, 2));
    auto* edit = list.findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromUtf8("Игрок"));
    emit list.itemDelegate()->commitData(edit);
    EXPECT_EQ(list.GetItemText(0, 2), QString::fromUtf8("Игрок"));
    // The same text again is no change.
    emit list.itemDelegate()->commitData(edit);
    ASSERT_EQ(edited.count(), 2);
    EXPECT_EQ(edited[0].at(1).toInt(), 1);
    EXPECT_EQ(edited[0].at(2).toString(), "Blue");
    EXPECT_EQ(edited[1].at(1).toInt(), 2);
}

TEST(CFListCtrlTest, ColoursAndAnOuterModel)
{
    CFListCtrl list;
    EXPECT_EQ(list.GetBkColor(), QColor(53, 53, 53));
    list.SetBkColor(QColor(10, 20, 30));
    list.SetTextColor(QColor(200, 200, 0));
    EXPECT_EQ(list.palette().color(QPalette::Base), QColor(10, 20, 30));
    EXPECT_EQ(list.palette().color(QPalette::Text), QColor(200, 200, 0));
    QStandardItemModel model(4, 3);
    model.setHeaderData(2, Qt::Horizontal, "Third");
    list.setModel(&model);
    EXPECT_EQ(list.ColumnCount(), 3);
    EXPECT_EQ(list.GetItemCount(), 4);
    EXPECT_EQ(list.ColumnTitle(2), "Third");
}
