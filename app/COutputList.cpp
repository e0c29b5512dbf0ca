#include "app/COutputList.h"

#include "app/commands/CommandIds.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

const QColor COutputList::kBackground(53, 53, 53);
const QColor COutputList::kHeroColor(0, 100, 0);

namespace {

// Text in 12-point Times on the pane's dark background; a selected line on
// the highlight colour.
class COutputLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter,
               const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        // The last line is always selected (that is how the list follows the
        // output), so a selection is only a slightly lighter band.
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        painter->fillRect(option.rect, selected ? COutputList::kBackground.lighter(135)
                                                : COutputList::kBackground);
        const QString text = index.data(Qt::DisplayRole).toString();
        painter->setPen(COutputList::LineColor(text));
        painter->setFont(LineFont());
        painter->drawText(option.rect.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          Shown(text));
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics metrics(LineFont());
        (void)option;
        return QSize(metrics.horizontalAdvance(Shown(index.data(Qt::DisplayRole).toString())) + 6,
                     metrics.height() + 2);
    }

    // Progress lines end with line breaks meant for the log file; the list
    // shows each as one row.
    static QString Shown(QString text)
    {
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) {
            text.chop(1);
        }
        return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    }

    static QFont LineFont()
    {
        QFont font(QStringLiteral("Times New Roman"), 12);
        font.setStyleHint(QFont::Serif);
        return font;
    }
};

}  // namespace

COutputList::COutputList(QWidget* parent)
    : QListWidget(parent)
{
    setItemDelegate(new COutputLineDelegate(this));
    setUniformItemSizes(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setFrameShape(QFrame::NoFrame);
    QPalette p = palette();
    p.setColor(QPalette::Base, kBackground);
    p.setColor(QPalette::Window, kBackground);
    setPalette(p);
    setAutoFillBackground(true);
}

void COutputList::AppendLine(const QString& text)
{
    setUpdatesEnabled(false);
    while (count() > kMaxLines) {
        delete takeItem(0);
    }
    addItem(text);
    setUpdatesEnabled(true);
    setCurrentRow(count() - 1, QItemSelectionModel::ClearAndSelect);
    scrollToBottom();
}

QStringList COutputList::Lines() const
{
    QStringList lines;
    lines.reserve(count());
    for (int i = 0; i < count(); ++i) {
        lines.append(item(i)->text());
    }
    return lines;
}

QColor COutputList::LineColor(const QString& text)
{
    // Only a line that is the word alone marks the hero's block; a line that
    // goes on after it is an ordinary line.
    return text.compare(QStringLiteral("HERO:"), Qt::CaseInsensitive) == 0 ? kHeroColor
                                                                           : QColor(Qt::white);
}

QString COutputList::TextToCopy() const
{
    QStringList lines;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected()) {
            lines.append(item(i)->text());
        }
    }
    if (lines.size() <= 1) {
        lines = Lines();
    }
    return lines.join(QLatin1Char('\n'));
}

void COutputList::OnEditCopy()
{
    QApplication::clipboard()->setText(TextToCopy());
}

void COutputList::OnEditClear()
{
    clear();
}

void COutputList::OnViewOutput()
{
    emit HideRequested();
}

void COutputList::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("&Copy"), this, &COutputList::OnEditCopy);
    copy->setData(vxcmd::kEditCopy);
    QAction* clearAction =
        menu.addAction(QStringLiteral("&Clear"), this, &COutputList::OnEditClear);
    clearAction->setData(vxcmd::kEditClear);
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Hide"), this, &COutputList::OnViewOutput);
    setFocus();
    menu.exec(event->globalPos());
}
