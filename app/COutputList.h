// One tab of the output pane: a list of lines drawn light on dark, the line
// "HERO:" in dark green, keeping the last 1001 lines. Its context menu copies,
// clears and hides the pane. Main thread only.
#pragma once

#include <QListWidget>

class COutputList : public QListWidget
{
    Q_OBJECT

public:
    // At most this many lines are kept before a line is added.
    static constexpr int kMaxLines = 1000;
    static const QColor kBackground;
    static const QColor kHeroColor;

    explicit COutputList(QWidget* parent = nullptr);

    // Drops the oldest lines while more than kMaxLines are held, adds `text`
    // as the last line, widens the horizontal extent to the widest line and
    // scrolls to it.
    void AppendLine(const QString& text);
    QStringList Lines() const;
    // The colour a line is drawn in.
    static QColor LineColor(const QString& text);
    // The lines the user selected, one per line; every line when at most one
    // is selected (adding a line selects it, so one selected line is no choice).
    QString TextToCopy() const;

    // The context menu's commands.
    void OnEditCopy();
    void OnEditClear();
    void OnViewOutput();

signals:
    // "Hide" was chosen.
    void HideRequested();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};
