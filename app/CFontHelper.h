// A font kept in the profile the way the player list has always kept it: the
// thirteen numbers of a logical font ("Desc") and the face name ("_Name")
// under one section and entry name. Main thread only.
#pragma once

#include <QFont>

#include <string>

class IProfile;

struct CFontRecord
{
    int height = -11;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    int italic = 0;
    int underline = 0;
    int strikeOut = 0;
    int charSet = 1;
    int outPrecision = 1;
    int clipPrecision = 2;
    int quality = 0;
    int pitchAndFamily = 2;
    std::wstring faceName = L"Tahoma";

    bool operator==(const CFontRecord&) const = default;
};

class CFontHelper
{
public:
    // Requires: `profile` outlives this object.
    CFontHelper(IProfile& profile, std::wstring section, std::wstring entry);

    // Reads the font: a "Desc" of exactly 13 numbers and a non-empty name
    // replace the font; anything else keeps it. True when replaced.
    bool Load();
    void Save() const;

    const CFontRecord& LogFont() const { return m_font; }
    void SetLogFont(const CFontRecord& font) { m_font = font; }
    // The font to draw with: the face, the height as pixels, weight, italic,
    // underline and strike-out.
    QFont Font() const;
    void SetFont(const QFont& font);

    // "%d:%d:...:%d" of the 13 numbers; true when `text` starts with 13.
    static std::wstring FormatDesc(const CFontRecord& font);
    static bool ParseDesc(const std::wstring& text, CFontRecord& font);

private:
    IProfile& m_profile;
    std::wstring m_section;
    std::wstring m_entry;
    CFontRecord m_font;
};
