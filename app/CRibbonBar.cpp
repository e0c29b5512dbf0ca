#include "app/CRibbonBar.h"

#include "app/AppIcons.h"
#include "app/commands/CommandIds.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kRows = 3;
// Ribbon widths are given in the units of the original layout; scaled for
// today's fonts.
int Pixels(int width)
{
    return width * 5 / 4;
}

}  // namespace

CRibbonBar::CRibbonBar(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("RibbonBar"));
    setAttribute(Qt::WA_StyledBackground, true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("RibbonTopRow"));
    m_topRow = new QHBoxLayout(top);
    m_topRow->setContentsMargins(4, 2, 4, 0);
    m_topRow->setSpacing(2);
    layout->addWidget(top);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("RibbonPages"));
    layout->addWidget(m_pages);
    BuildTopRow();
    BuildCategories();
    connect(m_tabs, &QTabBar::currentChanged, m_pages, &QStackedWidget::setCurrentIndex);
}

void CRibbonBar::BuildTopRow()
{
    m_appButton = new QToolButton(this);
    m_appButton->setObjectName(QStringLiteral("AppButton"));
    m_appButton->setIcon(AppIcon());
    m_appButton->setIconSize(QSize(26, 26));
    m_appButton->setToolTip(QStringLiteral("File (Alt+F)"));
    m_appButton->setPopupMode(QToolButton::InstantPopup);
    m_appButton->setShortcut(QKeySequence(QStringLiteral("Alt+F")));
    m_appMenu = new QMenu(QStringLiteral("File"), m_appButton);
    m_recentMenu = m_appMenu->addMenu(QStringLiteral("Recent Documents"));
    m_recentMenu->setMinimumWidth(300);
    SetRecentDocuments({});
    m_appMenu->addSeparator();
    AddMenuItem(m_appMenu, vxcmd::kAppExit, QStringLiteral("E&xit"), QStringLiteral("File"));
    m_appButton->setMenu(m_appMenu);
    m_topRow->addWidget(m_appButton);

    const struct
    {
        int id;
        const char* label;
        QStyle::StandardPixmap pixmap;
    } quick[] = {
        {vxcmd::kFileNew, "New", QStyle::SP_FileIcon},
        {vxcmd::kFileOpen, "Open", QStyle::SP_DialogOpenButton},
        {vxcmd::kFileSave, "Save", QStyle::SP_DialogSaveButton},
        {vxcmd::kFilePrintDirect, "Print Direct", QStyle::SP_FileDialogDetailedView},
    };
    for (const auto& q : quick) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("QuickAccessButton"));
        button->setAutoRaise(true);
        button->setIcon(style()->standardIcon(q.pixmap));
        button->setToolTip(QString::fromLatin1(q.label));
        button->setProperty("vxCommandId", q.id);
        connect(button, &QToolButton::clicked, this, [this, id = q.id] { emit Command(id); });
        m_topRow->addWidget(button);
        m_elements.push_back(CElement{q.id, QString::fromLatin1(q.label), Kind::Button,
                                      QStringLiteral("Quick Access"), QString(), 0, button,
                                      nullptr});
    }

    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(QStringLiteral("RibbonTabs"));
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(false);
    m_tabs->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_topRow->addSpacing(8);
    m_topRow->addWidget(m_tabs, 1);

    auto* styleButton = new QToolButton(this);
    styleButton->setObjectName(QStringLiteral("StyleButton"));
    styleButton->setText(QStringLiteral("Style"));
    styleButton->setAutoRaise(true);
    styleButton->setPopupMode(QToolButton::InstantPopup);
    styleButton->setShortcut(QKeySequence(QStringLiteral("Alt+S")));
    m_styleMenu = new QMenu(QStringLiteral("Style"), styleButton);
    const std::pair<int, const char*> looks[] = {
        {vxcmd::kLookBlue, "Office 2007 (&Blue Style)"},
        {vxcmd::kLookBlack, "Office 2007 (B&lack Style)"},
        {vxcmd::kLookSilver, "Office 2007 (&Silver Style)"},
        {vxcmd::kLookAqua, "Office 2007 (&Aqua Style)"},
        {vxcmd::kLookWindows7, "Win&dows 7"},
    };
    for (const auto& [id, label] : looks) {
        QAction* action =
            AddMenuItem(m_styleMenu, id, QString::fromLatin1(label), QStringLiteral("Style"));
        action->setCheckable(true);
    }
    styleButton->setMenu(m_styleMenu);
    m_topRow->addWidget(styleButton);

    auto* about = new QToolButton(this);
    about->setObjectName(QStringLiteral("AboutButton"));
    about->setAutoRaise(true);
    about->setIcon(style()->standardIcon(QStyle::SP_MessageBoxQuestion));
    about->setToolTip(QStringLiteral("About (Alt+A)"));
    about->setShortcut(QKeySequence(QStringLiteral("Alt+A")));
    about->setProperty("vxCommandId", vxcmd::kAppAbout);
    connect(about, &QToolButton::clicked, this, [this] { emit Command(vxcmd::kAppAbout); });
    m_topRow->addWidget(about);
    m_elements.push_back(CElement{vxcmd::kAppAbout, QStringLiteral("About"), Kind::Button,
                                  QStringLiteral("Style"), QString(), 0, about, nullptr});
}

void CRibbonBar::BuildCategories()
{
    using vxcmd::kArchiveOn;
    QWidget* home = AddCategory(QStringLiteral("&Home"));
    {
        CPanel view = AddPanel(home, QStringLiteral("Home"), QStringLiteral("View"));
        AddCheckBox(view, vxcmd::kOutputWnd, QStringLiteral("OutputWnd"));
        AddCheckBox(view, vxcmd::kRoraRevir, QStringLiteral("RoraRevir"));
        CPanel room = AddPanel(home, QStringLiteral("Home"), QStringLiteral("Room settings"));
        AddCombo(room, vxcmd::kHomeRoomList, QStringLiteral("Select poker room:"), 120);
        AddEdit(room, vxcmd::kNickEdit, QStringLiteral("Enter your nick:"), 120);
        FinishPage(home);
    }
    QWidget* database = AddCategory(QStringLiteral("Database"));
    {
        CPanel settings =
            AddPanel(database, QStringLiteral("Database"), QStringLiteral("Settings"));
        AddEdit(settings, vxcmd::kServerIp, QStringLiteral("Server IP:"), 100);
        AddEdit(settings, vxcmd::kPort, QStringLiteral("Port:"), 100);
        AddEdit(settings, vxcmd::kDbName, QStringLiteral("DB name:"), 100);
        AddEdit(settings, vxcmd::kDbUser, QStringLiteral("User"), 100);
        QLineEdit* password = AddEdit(settings, vxcmd::kPassword, QStringLiteral("Password:"), 100);
        password->setEchoMode(QLineEdit::PasswordEchoOnEdit);
        AddLargeButton(settings, vxcmd::kCreateDatabase, QStringLiteral("Create Database"),
                       RibbonIcon(RibbonPicture::DatabaseCreate));
        AddLargeButton(settings, vxcmd::kDeleteDatabase, QStringLiteral("Delete Database"),
                       RibbonIcon(RibbonPicture::DatabaseDelete));
        CPanel cache =
            AddPanel(database, QStringLiteral("Database"), QStringLiteral("HUD cache settings"));
        AddEdit(cache, vxcmd::kHudCacheMonths, QStringLiteral("Months"), 50);
        AddLargeButton(cache, vxcmd::kCreateDatabase, QStringLiteral("Create HUD cache"),
                       RibbonIcon(RibbonPicture::HudCache));
        FinishPage(database);
    }
    QWidget* importing = AddCategory(QStringLiteral("Hand Importing"));
    {
        const QString category = QStringLiteral("Hand Importing");
        CPanel room = AddPanel(importing, category, QStringLiteral("Room"));
        AddCombo(room, vxcmd::kImportRoomList, QStringLiteral("Select poker room:"), 120);
        CPanel manual = AddPanel(importing, category, QStringLiteral("Manual Hand Import"));
        AddLargeButton(manual, vxcmd::kImportFiles, QStringLiteral("Import Files"),
                       RibbonIcon(RibbonPicture::ImportFile));
        AddLargeButton(manual, vxcmd::kImportFolder1, QStringLiteral("Import Folder 1"),
                       RibbonIcon(RibbonPicture::ImportFolder));
        AddLargeButton(manual, vxcmd::kImportFolder2, QStringLiteral("Import Folder 2"),
                       RibbonIcon(RibbonPicture::ImportFolder));
        CPanel archive = AddPanel(importing, category, QStringLiteral("Archive"));
        AddCheckBox(archive, kArchiveOn, QStringLiteral("On"));
        CPanel history = AddPanel(importing, category, QStringLiteral("Hand History"));
        AddCheckBox(history, vxcmd::kHhUnicode, QStringLiteral("Unicode"));
        AddCheckBox(history, vxcmd::kHhUtf8, QStringLiteral("UTF-8"));
        AddCheckBox(history, vxcmd::kHhZip, QStringLiteral("Zip"));
        CPanel aliases = AddPanel(importing, category, QStringLiteral("Aliases"));
        AddCheckBox(aliases, vxcmd::kAutoAlias, QStringLiteral("Auto alias for hero"));
        FinishPage(importing);
    }
    QWidget* hud = AddCategory(QStringLiteral("HUD"));
    {
        CPanel auto_ = AddPanel(hud, QStringLiteral("HUD"), QStringLiteral("Auto Import"));
        AddLargeButton(auto_, vxcmd::kStart, QStringLiteral("Start"),
                       RibbonImage(vxcmd::kStartImage));
        CPanel layouts = AddPanel(hud, QStringLiteral("HUD"), QStringLiteral("Layouts"));
        AddLargeButton(layouts, vxcmd::kHudOptions, QStringLiteral("HUD Options"),
                       RibbonIcon(RibbonPicture::HudLayouts));
        FinishPage(hud);
    }
}

QWidget* CRibbonBar::AddCategory(const QString& title)
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("RibbonPage"));
    page->setAttribute(Qt::WA_StyledBackground, true);
    auto* row = new QHBoxLayout(page);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(0);
    m_pages->addWidget(page);
    m_tabs->addTab(title);
    return page;
}

CRibbonBar::CPanel CRibbonBar::AddPanel(QWidget* page,
                                        const QString& category,
                                        const QString& title)
{
    auto* frame = new QWidget(page);
    frame->setObjectName(QStringLiteral("RibbonPanel"));
    frame->setAttribute(Qt::WA_StyledBackground, true);
    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(6, 2, 6, 1);
    column->setSpacing(1);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    column->addLayout(grid, 1);
    auto* caption = new QLabel(title, frame);
    caption->setObjectName(QStringLiteral("RibbonPanelTitle"));
    caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    column->addWidget(caption);
    static_cast<QHBoxLayout*>(page->layout())->addWidget(frame);
    return CPanel{frame, grid, 0, 0, category, title};
}

void CRibbonBar::NextColumn(CPanel& panel)
{
    if (panel.row > 0) {
        panel.column += 2;
        panel.row = 0;
    }
}

QToolButton* CRibbonBar::AddLargeButton(CPanel& panel,
                                        int id,
                                        const QString& label,
                                        const QIcon& icon)
{
    NextColumn(panel);
    auto* button = new QToolButton(panel.frame);
    button->setObjectName(QStringLiteral("RibbonLargeButton"));
    button->setText(label);
    button->setIcon(icon);
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(72);
    button->setProperty("vxCommandId", id);
    panel.grid->addWidget(button, 0, panel.column, kRows, 2, Qt::AlignTop);
    panel.column += 2;
    connect(button, &QToolButton::clicked, this, [this, id] { emit Command(id); });
    m_elements.push_back(
        CElement{id, label, Kind::Button, panel.category, panel.title, 0, button, nullptr});
    return button;
}

QCheckBox* CRibbonBar::AddCheckBox(CPanel& panel, int id, const QString& label)
{
    auto* box = new QCheckBox(label, panel.frame);
    box->setProperty("vxCommandId", id);
    panel.grid->addWidget(box, panel.row, panel.column, 1, 2);
    if (++panel.row == kRows) {
        NextColumn(panel);
    }
    // The check mark shows the program's switch; the frame sets it again once
    // the command has run.
    connect(box, &QCheckBox::clicked, this, [this, id] { emit Command(id); });
    m_elements.push_back(
        CElement{id, label, Kind::CheckBox, panel.category, panel.title, 0, box, nullptr});
    return box;
}

QLineEdit* CRibbonBar::AddEdit(CPanel& panel, int id, const QString& label, int width)
{
    auto* caption = new QLabel(label, panel.frame);
    auto* edit = new QLineEdit(panel.frame);
    edit->setFixedWidth(Pixels(width));
    edit->setProperty("vxCommandId", id);
    caption->setBuddy(edit);
    panel.grid->addWidget(caption, panel.row, panel.column);
    panel.grid->addWidget(edit, panel.row, panel.column + 1);
    if (++panel.row == kRows) {
        NextColumn(panel);
    }
    connect(edit, &QLineEdit::editingFinished, this, [this, id, edit] {
        // Only a changed text is a command; leaving an edit untouched is not.
        if (edit->isModified()) {
            edit->setModified(false);
            emit Command(id);
        }
    });
    m_elements.push_back(
        CElement{id, label, Kind::Edit, panel.category, panel.title, width, edit, nullptr});
    return edit;
}

QComboBox* CRibbonBar::AddCombo(CPanel& panel, int id, const QString& label, int width)
{
    auto* caption = new QLabel(label, panel.frame);
    auto* combo = new QComboBox(panel.frame);
    combo->setFixedWidth(Pixels(width));
    combo->setProperty("vxCommandId", id);
    caption->setBuddy(combo);
    panel.grid->addWidget(caption, panel.row, panel.column);
    panel.grid->addWidget(combo, panel.row, panel.column + 1);
    if (++panel.row == kRows) {
        NextColumn(panel);
    }
    connect(combo, &QComboBox::activated, this, [this, id] { emit Command(id); });
    m_elements.push_back(
        CElement{id, label, Kind::Combo, panel.category, panel.title, width, combo, nullptr});
    return combo;
}

void CRibbonBar::FinishPage(QWidget* page)
{
    static_cast<QHBoxLayout*>(page->layout())->addStretch(1);
}

QAction* CRibbonBar::AddMenuItem(QMenu* menu, int id, const QString& label, const QString& where)
{
    QAction* action = menu->addAction(label);
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { emit Command(id); });
    m_elements.push_back(CElement{id, label, Kind::MenuItem, where, QString(), 0, nullptr, action});
    return action;
}

const CRibbonBar::CElement* CRibbonBar::FindElement(int id) const
{
    for (const CElement& e : m_elements) {
        if (e.id == id) {
            return &e;
        }
    }
    return nullptr;
}

QLineEdit* CRibbonBar::Edit(int id) const
{
    const CElement* e = FindElement(id);
    return e == nullptr ? nullptr : qobject_cast<QLineEdit*>(e->widget);
}

QComboBox* CRibbonBar::Combo(int id) const
{
    const CElement* e = FindElement(id);
    return e == nullptr ? nullptr : qobject_cast<QComboBox*>(e->widget);
}

QCheckBox* CRibbonBar::Check(int id) const
{
    const CElement* e = FindElement(id);
    return e == nullptr ? nullptr : qobject_cast<QCheckBox*>(e->widget);
}

QToolButton* CRibbonBar::Button(int id) const
{
    const CElement* e = FindElement(id);
    return e == nullptr ? nullptr : qobject_cast<QToolButton*>(e->widget);
}

QAction* CRibbonBar::Action(int id) const
{
    const CElement* e = FindElement(id);
    return e == nullptr ? nullptr : e->action;
}

void CRibbonBar::SetChecked(int id, bool checked)
{
    for (const CElement& e : m_elements) {
        if (e.id != id) {
            continue;
        }
        if (auto* box = qobject_cast<QCheckBox*>(e.widget)) {
            box->setChecked(checked);
        } else if (e.action != nullptr) {
            e.action->setChecked(checked);
        }
    }
}

bool CRibbonBar::IsChecked(int id) const
{
    const CElement* e = FindElement(id);
    if (e == nullptr) {
        return false;
    }
    if (auto* box = qobject_cast<QCheckBox*>(e->widget)) {
        return box->isChecked();
    }
    return e->action != nullptr && e->action->isChecked();
}

void CRibbonBar::SetEnabled(int id, bool enabled)
{
    for (const CElement& e : m_elements) {
        if (e.id != id) {
            continue;
        }
        if (e.widget != nullptr) {
            e.widget->setEnabled(enabled);
        }
        if (e.action != nullptr) {
            e.action->setEnabled(enabled);
        }
    }
}

QStringList CRibbonBar::Categories() const
{
    QStringList names;
    for (int i = 0; i < m_tabs->count(); ++i) {
        names.append(m_tabs->tabText(i).remove(QLatin1Char('&')));
    }
    return names;
}

void CRibbonBar::SetActiveCategory(const QString& category)
{
    const int at = Categories().indexOf(category);
    if (at >= 0) {
        m_tabs->setCurrentIndex(at);
    }
}

void CRibbonBar::SetRecentDocuments(const QStringList& names)
{
    m_recentMenu->clear();
    if (names.isEmpty()) {
        m_recentMenu->addAction(QStringLiteral("(none)"))->setEnabled(false);
        return;
    }
    for (const QString& name : names) {
        m_recentMenu->addAction(name)->setEnabled(false);
    }
}
