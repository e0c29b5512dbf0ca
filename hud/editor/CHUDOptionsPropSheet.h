// "HUD Options": the HUD editor's sheet around its one page, with OK, Cancel
// and Apply. Apply (and OK) makes the layout selected in the page's list the
// layout in use. GUI thread only; modal.
#pragma once

#include "hud/editor/IHudLayoutStore.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class CPageHUDDisp;
class QPushButton;

class CHUDOptionsPropSheet : public QDialog
{
    Q_OBJECT

public:
    // `setInUse` receives the name of the layout chosen with Apply.
    // Requires: `store` outlives the sheet.
    CHUDOptionsPropSheet(IHudLayoutStore& store,
                         std::vector<std::wstring> statNames,
                         const std::wstring& inUse,
                         std::function<void(const std::wstring&)> setInUse,
                         QWidget* parent = nullptr);

    CPageHUDDisp* Page() const { return m_page; }
    QPushButton* ApplyButton() const { return m_apply; }

    // Makes the selected layout the layout in use; nothing without one.
    void Apply();
    void accept() override;

private:
    CPageHUDDisp* m_page = nullptr;
    QPushButton* m_apply = nullptr;
    std::function<void(const std::wstring&)> m_setInUse;
};
