// The HUD layouts: named, ordered lists of what a player's HUD box holds (the
// name, statistics of the stat-name vocabulary, line breaks), kept in the file
// "HUDs.xml" of the program folder. The HUD editor reads and changes them
// through this class; the text sent to the HUD program does not depend on
// them.
//
// The file is XML declared as windows-1251: a root "HUDs" holding one "HUD"
// element (attribute "Name") per layout, with a "Stats" element of "Stat"
// elements (attribute "Name") for its items in order. The declared encoding is
// honoured when reading and writing; a character windows-1251 cannot hold is
// written as a character reference. The loader takes "HUD" and "Stat"
// elements anywhere and in any case of letters; only the attribute "Name"
// counts, spelled exactly so.
//
// Saving writes the whole document to a new file that then replaces the old
// one, so a failed save leaves the file as it was. A file that is not
// well-formed is never written over. Main thread only.
#pragma once

#include "foundation/CStatus.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

class IUserNotifier;

namespace pugi {
class xml_document;
}

// One layout: its items by index from 0.
class CHUDOptions
{
public:
    virtual ~CHUDOptions() = default;
    std::map<int32_t, std::wstring> items;
};

// The item that shows the player's name; a new layout starts with it.
inline constexpr const wchar_t* kHudNameItem = L"Name";
// The item after which the items start a new line of the box.
inline constexpr const wchar_t* kHudNewLineItem = L"-------new line-------";

// The text of a new layouts file (written with CR LF line ends).
inline constexpr const char* kEmptyHudLayoutsFile =
    "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<HUDs>\r\n</HUDs>";

class CHudLayouts
{
public:
    // `path`: the layouts file. Requires: `notifier` outlives this object.
    CHudLayouts(std::string path, IUserNotifier& notifier);
    ~CHudLayouts();
    CHudLayouts(const CHudLayouts&) = delete;
    CHudLayouts& operator=(const CHudLayouts&) = delete;

    // Creates the file with the empty list when it does not exist (telling the
    // user when that fails), then reads it and adds its layouts to the map:
    // items of a layout named twice merge, the later overwriting the earlier
    // at the same index; a "Stat" without "Name" leaves its index empty. False
    // when the file cannot be read or is not well-formed: the map stays as it
    // was.
    bool Load();

    // The layouts by name (compared exactly). The editor changes a layout here
    // and then saves it by name.
    std::map<std::wstring, CHUDOptions>& Layouts() { return m_layouts; }
    const std::map<std::wstring, CHUDOptions>& Layouts() const { return m_layouts; }

    // A layout of that name holding only the name item, replacing any layout
    // of that name in the map (the file changes with SaveHudLayout).
    CHUDOptions& NewLayout(const std::wstring& name);

    // Writes the map's layout `name` into the document, replacing the items of
    // every "HUD" element of that name (or appending a new one to the last
    // "HUDs" element), and saves the file. NotFound when the map has no such
    // layout or no file was loaded; IoError when the file cannot be written.
    CStatus SaveHudLayout(const std::wstring& name);

    // Renames every "HUD" element named `oldName` and the map's layout, and
    // saves. InvalidArgument when `newName` is empty or names another layout
    // (two layouts would merge into one on the next load).
    CStatus RenameHudLayout(const std::wstring& oldName, const std::wstring& newName);

    // Removes every "HUD" element named `name` and the map's layout, and saves.
    CStatus DeleteHudLayout(const std::wstring& name);

    const std::string& Path() const { return m_path; }

private:
    CStatus Save();

    std::string m_path;
    IUserNotifier& m_notifier;
    std::map<std::wstring, CHUDOptions> m_layouts;
    // The last document loaded, kept for saving; null until a load succeeds.
    std::unique_ptr<pugi::xml_document> m_document;
    // The layout that "Stat" elements belong to; kept from one load to the
    // next.
    std::wstring m_currentName;
};
