// The dockable "Output" pane: three tabs of lines ("Build", "Debug", "Find"),
// of which the program writes to "Debug". AppendDebugLine may be called from
// any thread: the line is added on the main thread, in the order of the calls.
#pragma once

#include <QDockWidget>

class COutputList;
class QTabWidget;

class COutputWnd : public QDockWidget
{
    Q_OBJECT

public:
    static constexpr int kId = 149;

    explicit COutputWnd(QWidget* parent = nullptr);

    // Thread-safe.
    void AppendDebugLine(const QString& text);

    COutputList* BuildList() const { return m_build; }
    COutputList* DebugList() const { return m_debug; }
    COutputList* FindList() const { return m_find; }
    QTabWidget* Tabs() const { return m_tabs; }
    // Sets the regular font again on the three lists (system settings changed).
    void UpdateFonts();

private:
    QTabWidget* m_tabs;
    COutputList* m_build;
    COutputList* m_debug;
    COutputList* m_find;
};
