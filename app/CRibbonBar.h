// The ribbon: the application button with its menu, the quick access toolbar,
// a row of category tabs, each showing a row of titled panels with the
// program's elements, and the Style menu and About button beside the tabs.
// Every element carries its command id; using it emits Command(id), which the
// main frame's dispatcher handles. Check marks and enabled states are set by
// the frame from the program's switches, not by the clicks. Main thread only.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;
class QHBoxLayout;
class QGridLayout;

class CRibbonBar : public QWidget
{
    Q_OBJECT

public:
    enum class Kind
    {
        Button,
        CheckBox,
        Edit,
        Combo,
        MenuItem,
    };

    struct CElement
    {
        int id = 0;
        QString label;
        Kind kind = Kind::Button;
        // Where it sits: category and panel ("File", "Style", "Quick Access"
        // for the menus and the toolbar).
        QString category;
        QString panel;
        // Width of an edit or combo box in the ribbon's units; 0 otherwise.
        int width = 0;
        QWidget* widget = nullptr;
        QAction* action = nullptr;
    };

    explicit CRibbonBar(QWidget* parent = nullptr);

    const std::vector<CElement>& Elements() const { return m_elements; }
    // The first element with `id`, null when there is none.
    const CElement* FindElement(int id) const;
    QLineEdit* Edit(int id) const;
    QComboBox* Combo(int id) const;
    QCheckBox* Check(int id) const;
    QToolButton* Button(int id) const;
    QAction* Action(int id) const;

    // Shows a check mark on every element with `id`.
    void SetChecked(int id, bool checked);
    bool IsChecked(int id) const;
    void SetEnabled(int id, bool enabled);

    QStringList Categories() const;
    QTabBar* CategoryTabs() const { return m_tabs; }
    void SetActiveCategory(const QString& category);
    QMenu* ApplicationMenu() const { return m_appMenu; }
    QMenu* StyleMenu() const { return m_styleMenu; }
    bool HasApplicationButton() const { return m_appButton != nullptr; }
    // The application button's "Recent Documents" list.
    void SetRecentDocuments(const QStringList& names);

signals:
    void Command(int id);

private:
    struct CPanel
    {
        QWidget* frame = nullptr;
        QGridLayout* grid = nullptr;
        int column = 0;
        int row = 0;
        QString category;
        QString title;
    };

    QWidget* AddCategory(const QString& title);
    CPanel AddPanel(QWidget* page, const QString& category, const QString& title);
    void NextColumn(CPanel& panel);
    QToolButton* AddLargeButton(CPanel& panel, int id, const QString& label, const QIcon& icon);
    QCheckBox* AddCheckBox(CPanel& panel, int id, const QString& label);
    QLineEdit* AddEdit(CPanel& panel, int id, const QString& label, int width);
    QComboBox* AddCombo(CPanel& panel, int id, const QString& label, int width);
    void FinishPage(QWidget* page);
    QAction* AddMenuItem(QMenu* menu, int id, const QString& label, const QString& where);
    void BuildTopRow();
    void BuildCategories();

    std::vector<CElement> m_elements;
    QToolButton* m_appButton = nullptr;
    QMenu* m_appMenu = nullptr;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_styleMenu = nullptr;
    QTabBar* m_tabs = nullptr;
    QStackedWidget* m_pages = nullptr;
    QHBoxLayout* m_topRow = nullptr;
};
