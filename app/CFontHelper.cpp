#include "app/CFontHelper.h"

#include "foundation/IProfile.h"
#include "foundation/WideText.h"

#include <cstdlib>
#include <cwchar>

CFontHelper::CFontHelper(IProfile& profile, std::wstring section, std::wstring entry)
    : m_profile(profile)
    , m_section(std::move(section))
    , m_entry(std::move(entry))
{}

std::wstring CFontHelper::FormatDesc(const CFontRecord& f)
{
    return FormatW(L"%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d", f.height, f.width, f.escapement,
                   f.orientation, f.weight, f.italic, f.underline, f.strikeOut, f.charSet,
                   f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily);
}

bool CFontHelper::ParseDesc(const std::wstring& text, CFontRecord& f)
{
    CFontRecord read = f;
    const int count =
        std::swscanf(text.c_str(), L"%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d", &read.height,
                     &read.width, &read.escapement, &read.orientation, &read.weight, &read.italic,
                     &read.underline, &read.strikeOut, &read.charSet, &read.outPrecision,
                     &read.clipPrecision, &read.quality, &read.pitchAndFamily);
    if (count != 13) {
        return false;
    }
    read.faceName = f.faceName;
    f = read;
    return true;
}

bool CFontHelper::Load()
{
    const std::wstring desc = m_profile.GetProfileString(m_section, m_entry + L"Desc", L"");
    CFontRecord font = m_font;
    if (desc.empty() || !ParseDesc(desc, font)) {
        return false;
    }
    const std::wstring name = m_profile.GetProfileString(m_section, m_entry + L"_Name", L"");
    if (name.empty()) {
        return false;
    }
    font.faceName = name;
    m_font = font;
    return true;
}

void CFontHelper::Save() const
{
    m_profile.WriteProfileString(m_section, m_entry + L"Desc", FormatDesc(m_font));
    m_profile.WriteProfileString(m_section, m_entry + L"_Name", m_font.faceName);
}

QFont CFontHelper::Font() const
{
    QFont font(QString::fromStdWString(m_font.faceName));
    // A negative height is the characters' height in pixels, a positive one
    // the cell's; both are close enough to the pixel size. A height beyond
    // reason keeps the default size.
    const int pixels = std::abs(m_font.height);
    if (pixels > 0 && pixels <= 400) {
        font.setPixelSize(pixels);
    }
    if (m_font.weight >= 100 && m_font.weight <= 900) {
        font.setWeight(static_cast<QFont::Weight>(m_font.weight));
    }
    font.setItalic(m_font.italic != 0);
    font.setUnderline(m_font.underline != 0);
    font.setStrikeOut(m_font.strikeOut != 0);
    return font;
}

void CFontHelper::SetFont(const QFont& font)
{
    m_font.faceName = font.family().toStdWString();
    if (font.pixelSize() > 0) {
        m_font.height = -font.pixelSize();
    } else if (font.pointSizeF() > 0) {
        m_font.height = -static_cast<int>(font.pointSizeF() * 96.0 / 72.0 + 0.5);
    }
    m_font.weight = font.weight();
    m_font.italic = font.italic() ? 1 : 0;
    m_font.underline = font.underline() ? 1 : 0;
    m_font.strikeOut = font.strikeOut() ? 1 : 0;
}
