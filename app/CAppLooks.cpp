#include "app/CAppLooks.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QWidget>

namespace {

struct CLook
{
    int id;
    // Window, ribbon page, ribbon tab row, panel title, text, highlight.
    const char* window;
    const char* page;
    const char* top;
    const char* title;
    const char* text;
    const char* highlight;
    bool dark;
};

constexpr CLook kLooks[] = {
    {215, "#dbe6f4", "#e3edfa", "#c3d7ef", "#3b5a85", "#15283f", "#f5c865", false},
    {216, "#2d2f33", "#3a3d42", "#1f2124", "#a9b3bf", "#eceff3", "#d9a520", true},
    {217, "#e4e6ea", "#eef0f3", "#cfd3d9", "#4d5561", "#1e2329", "#f0c35a", false},
    {218, "#d9eef0", "#e4f5f6", "#b9dfe3", "#2f6a70", "#10383c", "#f2c462", false},
    {219, "#f0f3f8", "#f8fafd", "#dce6f2", "#47607f", "#1a2738", "#3d8ee0", false},
    {205, "#efefef", "#f6f6f6", "#e0e0e0", "#555555", "#111111", "#3d8ee0", false},
    {206, "#ecebe6", "#f5f4f0", "#dedcd4", "#55524a", "#1b1a17", "#3d8ee0", false},
    {207, "#ece9d8", "#f4f2e7", "#dcd8c3", "#5a5640", "#1b1a10", "#316ac5", false},
    {208, "#d6e4f7", "#e2ecfa", "#bcd2ef", "#3b5a85", "#15283f", "#f5c865", false},
    {209, "#ece9d8", "#f5f4ec", "#dad5c0", "#56533f", "#1a1910", "#316ac5", false},
    {210, "#e0e5ee", "#eef1f6", "#c9d1df", "#4b5670", "#182030", "#3399ff", false},
};

const CLook* FindLook(int id)
{
    for (const CLook& look : kLooks) {
        if (look.id == id) {
            return &look;
        }
    }
    return nullptr;
}

}  // namespace

bool IsKnownLook(int id)
{
    return FindLook(id) != nullptr;
}

bool ApplyApplicationLook(int id, QWidget* window)
{
    const CLook* look = FindLook(id);
    if (look == nullptr) {
        return false;
    }
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    const QColor windowColor(QString::fromLatin1(look->window));
    const QColor text(QString::fromLatin1(look->text));
    QPalette p;
    p.setColor(QPalette::Window, windowColor);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, look->dark ? QColor(0x26, 0x28, 0x2b) : QColor(Qt::white));
    p.setColor(QPalette::AlternateBase, look->dark ? QColor(0x30, 0x32, 0x36) : windowColor);
    p.setColor(QPalette::Text, look->dark ? QColor(0xec, 0xef, 0xf3) : text);
    p.setColor(QPalette::Button, QColor(QString::fromLatin1(look->page)));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, QColor(0xff, 0xfb, 0xe6));
    p.setColor(QPalette::ToolTipText, QColor(0x20, 0x20, 0x20));
    p.setColor(QPalette::Highlight, QColor(QString::fromLatin1(look->highlight)));
    p.setColor(QPalette::HighlightedText,
               look->dark ? QColor(0x10, 0x10, 0x10) : QColor(Qt::black));
    p.setColor(QPalette::PlaceholderText, text.darker(look->dark ? 160 : 60));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    QApplication::setPalette(p);
    const QString sheet =
        QStringLiteral(
            "#RibbonTopRow { background: %1; }"
            "#RibbonPages, #RibbonPage { background: %2; }"
            "#RibbonBar { background: %1; border-bottom: 1px solid %5; }"
            "#RibbonPanel { border-right: 1px solid %5; }"
            "#RibbonPanelTitle { color: %3; font-size: 8pt; }"
            "#RibbonTabs::tab { padding: 4px 14px; margin-top: 2px; color: %4; "
            "background: transparent; border: 1px solid transparent; }"
            "#RibbonTabs::tab:selected { background: %2; border: 1px solid %5; "
            "border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px; }"
            "#RibbonTabs::tab:hover:!selected { color: %6; }"
            "#RibbonLargeButton { padding: 2px 4px; }")
            .arg(QString::fromLatin1(look->top), QString::fromLatin1(look->page),
                 QString::fromLatin1(look->title), QString::fromLatin1(look->text),
                 QColor(QString::fromLatin1(look->page)).darker(look->dark ? 70 : 118).name(),
                 QString::fromLatin1(look->highlight));
    if (window != nullptr) {
        window->setStyleSheet(sheet);
        window->update();
    }
    return true;
}
