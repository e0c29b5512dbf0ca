// The page of the HUD editor: the layouts ("HUDs:"), the items of the current
// layout ("New HUD:"), the statistics that can still be added ("Statistics:")
// and a preview of the HUD box ("Preview:"), with the buttons that create,
// rename, delete, edit and save layouts. Changes reach the layouts file only
// through "Save", "Delete HUD" and "Rename HUD". GUI thread only.
#pragma once

#include "hud/editor/IHudLayoutStore.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;
class QToolButton;

class CPageHUDDisp : public QWidget
{
    Q_OBJECT

public:
    // `statNames`: the statistics a layout may hold; `inUse`: the layout in
    // use. Requires: `store` outlives the page.
    CPageHUDDisp(IHudLayoutStore& store,
                 std::vector<std::wstring> statNames,
                 const std::wstring& inUse,
                 QWidget* parent = nullptr);

    // The lines of the HUD box that `items` make: items joined by "/", a new
    // line at each line-break item.
    static std::vector<std::wstring> PreviewLines(const IHudLayoutStore::Items& items);

    // Asks for a layout name, starting with the given one; false on Cancel.
    // Tests answer it themselves.
    using NameAsker = std::function<bool(QString& name)>;
    void SetNameAsker(NameAsker asker) { m_askName = std::move(asker); }
    // Message boxes go here instead of on the screen.
    void SetMessageHandler(std::function<void(const QString&)> handler)
    {
        m_message = std::move(handler);
    }

    // The layout selected in the layouts list, or empty.
    std::wstring SelectedLayout() const;
    const std::wstring& CurrentLayout() const { return m_current; }

    // The page's lists and actions, as the buttons reach them.
    QTableWidget* Layouts() const { return m_layouts; }
    QTableWidget* Items() const { return m_items; }
    QTableWidget* Statistics() const { return m_stats; }
    QTableWidget* Preview() const { return m_preview; }
    QLabel* NameLabel() const { return m_name; }
    void SelectLayout(const std::wstring& name);
    void SelectStatistic(const std::wstring& name);
    void SelectItem(int row);
    void AddStatistic();
    void TakeOut();
    void AddNewLine();
    void NewHud();
    void SaveHud();
    void DeleteHud();
    void RenameHud();

private:
    void FillLayouts();
    void MakeCurrent(const std::wstring& name);
    void ShowCurrent();
    void ShowMessage(const QString& text);
    bool AskName(QString& name);
    IHudLayoutStore::Items* CurrentItems();

    IHudLayoutStore& m_store;
    std::vector<std::wstring> m_statNames;
    std::wstring m_current;
    bool m_hasCurrent = false;
    NameAsker m_askName;
    std::function<void(const QString&)> m_message;

    QTableWidget* m_layouts = nullptr;
    QTableWidget* m_items = nullptr;
    QTableWidget* m_stats = nullptr;
    QTableWidget* m_preview = nullptr;
    QLabel* m_name = nullptr;
};
