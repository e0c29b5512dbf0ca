#include "hud/CHudLayouts.h"

#include "foundation/IUserNotifier.h"
#include "foundation/WideText.h"

#include <pugixml.hpp>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iconv.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool SameNameNoCase(const char* name, const char* wanted)
{
    return EqualsNoCase(FromUtf8(name), FromUtf8(wanted));
}

bool IsHud(const pugi::xml_node& node)
{
    return node.type() == pugi::node_element && SameNameNoCase(node.name(), "HUD");
}

// Converts `input` from one encoding to another with iconv; false when an
// encoding is unknown or a byte sequence cannot be converted.
bool Convert(const std::string& input, const char* from, const char* to, std::string& output)
{
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    output.clear();
    std::string in = input;
    char* inPtr = in.data();
    size_t inLeft = in.size();
    std::vector<char> buffer(4096);
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t result = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        output.append(buffer.data(), buffer.size() - outLeft);
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    ::iconv_close(cd);
    return ok;
}

// UTF-8 text in `encoding`; a character the encoding cannot hold becomes a
// character reference. The encoding must keep ASCII as it is.
bool EncodeWithReferences(const std::string& utf8, const std::string& encoding, std::string& out)
{
    iconv_t cd = ::iconv_open(encoding.c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    out.clear();
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::string one = utf8.substr(i, length);
        i += length;
        char* inPtr = one.data();
        size_t inLeft = one.size();
        char converted[16];
        char* outPtr = converted;
        size_t outLeft = sizeof converted;
        if (::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) {
            out.append(converted, sizeof converted - outLeft);
        } else {
            // Reset the converter's state after the failure.
            ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
            const std::wstring wide = FromUtf8(one);
            out +=
                "&#" + std::to_string(wide.empty() ? 0xFFFD : static_cast<uint32_t>(wide[0])) + ";";
        }
    }
    ::iconv_close(cd);
    return true;
}

bool IsUtf8Name(std::string encoding)
{
    for (char& c : encoding) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return encoding.empty() || encoding == "utf-8" || encoding == "utf8";
}

// The encoding named by the XML declaration at the start of `bytes`; empty
// when there is none.
std::string DeclaredEncoding(const std::string& bytes)
{
    if (bytes.compare(0, 5, "<?xml") != 0) {
        return std::string();
    }
    const size_t end = bytes.find("?>");
    const std::string declaration = bytes.substr(0, end);
    const size_t key = declaration.find("encoding");
    if (key == std::string::npos) {
        return std::string();
    }
    const size_t quote = declaration.find_first_of("\"'", key);
    if (quote == std::string::npos) {
        return std::string();
    }
    const size_t close = declaration.find(declaration[quote], quote + 1);
    return close == std::string::npos ? std::string()
                                      : declaration.substr(quote + 1, close - quote - 1);
}

bool ReadFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return !in.bad();
}

// Writes `bytes` to a new file beside `path` and puts it in its place. The
// new file's name is unique: two programs starting at once may both write.
CStatus ReplaceFile(const std::string& path, const std::string& bytes)
{
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    std::FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
            std::remove(temporary.c_str());
        }
        return CStatus::IoError(FromUtf8("cannot write " + path + ": " + std::strerror(error)));
    }
    // mkstemp makes the file readable by its owner only; the layouts are not
    // secret, and the file keeps the mode a plain write would give it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    (void)::fchmod(fd, 0666 & ~mask);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = std::fflush(file) == 0 && ::fsync(fd) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !flushed || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        return CStatus::IoError(FromUtf8("cannot write " + path + ": " + std::strerror(error)));
    }
    return CStatus::Ok();
}

class CStringWriter : public pugi::xml_writer
{
public:
    void write(const void* data, size_t size) override
    {
        text.append(static_cast<const char*>(data), size);
    }
    std::string text;
};

}  // namespace

CHudLayouts::CHudLayouts(std::string path, IUserNotifier& notifier)
    : m_path(std::move(path))
    , m_notifier(notifier)
{}

CHudLayouts::~CHudLayouts() = default;

bool CHudLayouts::Load()
{
    struct stat st
    {
    };
    if (::stat(m_path.c_str(), &st) != 0) {
        const CStatus created = ReplaceFile(m_path, kEmptyHudLayoutsFile);
        if (!created.IsOk()) {
            m_notifier.Notify(created.Message());
        }
    }
    std::string bytes;
    if (!ReadFile(m_path, bytes)) {
        return false;
    }
    const bool marked = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ||
                        bytes.compare(0, 2, "\xFF\xFE") == 0 ||
                        bytes.compare(0, 2, "\xFE\xFF") == 0;
    pugi::xml_encoding encoding = pugi::encoding_auto;
    if (!marked) {
        const std::string declared = DeclaredEncoding(bytes);
        if (!IsUtf8Name(declared)) {
            std::string utf8;
            if (!Convert(bytes, declared.c_str(), "UTF-8", utf8)) {
                return false;
            }
            bytes.swap(utf8);
        }
        encoding = pugi::encoding_utf8;
    }
    auto document = std::make_unique<pugi::xml_document>();
    const unsigned options =
        pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;
    if (!document->load_buffer(bytes.data(), bytes.size(), options, encoding)) {
        return false;
    }

    int32_t counter = 0;
    std::function<void(const pugi::xml_node&)> walk = [&](const pugi::xml_node& node) {
        if (node.type() == pugi::node_element) {
            if (IsHud(node)) {
                const pugi::xml_attribute name = node.attribute("Name");
                if (name) {
                    m_currentName = FromUtf8(name.value());
                }
                counter = 0;
            } else if (SameNameNoCase(node.name(), "Stat")) {
                const pugi::xml_attribute name = node.attribute("Name");
                if (name) {
                    m_layouts[m_currentName].items[counter] = FromUtf8(name.value());
                }
                ++counter;
            }
        }
        for (const pugi::xml_node& child : node.children()) {
            walk(child);
        }
    };
    const pugi::xml_node root = document->document_element();
    if (root) {
        walk(root);
    }
    m_document = std::move(document);
    return true;
}

CHUDOptions& CHudLayouts::NewLayout(const std::wstring& name)
{
    CHUDOptions& layout = m_layouts[name];
    layout.items.clear();
    layout.items[0] = kHudNameItem;
    return layout;
}

CStatus CHudLayouts::SaveHudLayout(const std::wstring& name)
{
    const auto layout = m_layouts.find(name);
    if (layout == m_layouts.end()) {
        return CStatus::NotFound(L"no HUD layout " + name);
    }
    if (!m_document) {
        return CStatus::NotFound(L"the HUD layouts file was not loaded");
    }
    pugi::xml_node container;
    pugi::xml_node last;
    const std::string wanted = ToUtf8(name);
    std::function<void(pugi::xml_node)> find = [&](pugi::xml_node node) {
        if (node.type() == pugi::node_element && std::strcmp(node.name(), "HUDs") == 0) {
            container = node;
        }
        if (IsHud(node) && wanted == node.attribute("Name").value() && node.attribute("Name")) {
            while (node.first_child()) {
                node.remove_child(node.first_child());
            }
            last = node;
        }
        for (pugi::xml_node child : node.children()) {
            find(child);
        }
    };
    find(m_document->root());
    if (!last) {
        if (!container) {
            return CStatus::NotFound(L"the HUD layouts file has no HUDs element");
        }
        last = container.append_child("HUD");
        last.append_attribute("Name") = wanted.c_str();
    }
    pugi::xml_node stats = last.append_child("Stats");
    for (const auto& [index, text] : layout->second.items) {
        stats.append_child("Stat").append_attribute("Name") = ToUtf8(text).c_str();
    }
    return Save();
}

CStatus CHudLayouts::RenameHudLayout(const std::wstring& oldName, const std::wstring& newName)
{
    if (newName.empty() || (newName != oldName && m_layouts.count(newName) != 0)) {
        return CStatus::InvalidArgument(L"there is a HUD layout " + newName + L" already");
    }
    if (!m_document) {
        return CStatus::NotFound(L"the HUD layouts file was not loaded");
    }
    const std::string from = ToUtf8(oldName);
    const std::string to = ToUtf8(newName);
    std::function<void(pugi::xml_node)> rename = [&](pugi::xml_node node) {
        pugi::xml_attribute attribute = node.attribute("Name");
        if (IsHud(node) && attribute && from == attribute.value()) {
            attribute.set_value(to.c_str());
        }
        for (pugi::xml_node child : node.children()) {
            rename(child);
        }
    };
    rename(m_document->root());
    const CStatus saved = Save();
    if (saved.IsOk()) {
        const auto layout = m_layouts.find(oldName);
        if (layout != m_layouts.end() && newName != oldName) {
            m_layouts[newName] = layout->second;
            m_layouts.erase(oldName);
        }
    }
    return saved;
}

CStatus CHudLayouts::DeleteHudLayout(const std::wstring& name)
{
    if (!m_document) {
        return CStatus::NotFound(L"the HUD layouts file was not loaded");
    }
    const std::string wanted = ToUtf8(name);
    std::vector<pugi::xml_node> gone;
    std::function<void(pugi::xml_node)> find = [&](pugi::xml_node node) {
        pugi::xml_attribute attribute = node.attribute("Name");
        if (IsHud(node) && attribute && wanted == attribute.value()) {
            gone.push_back(node);
            return;
        }
        for (pugi::xml_node child : node.children()) {
            find(child);
        }
    };
    find(m_document->root());
    for (pugi::xml_node& node : gone) {
        node.parent().remove_child(node);
    }
    const CStatus saved = Save();
    if (saved.IsOk()) {
        m_layouts.erase(name);
    }
    return saved;
}

CStatus CHudLayouts::Save()
{
    CStringWriter writer;
    m_document->save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
    std::string text;
    text.reserve(writer.text.size() + writer.text.size() / 16);
    for (const char c : writer.text) {
        if (c == '\n') {
            text += "\r\n";
        } else {
            text.push_back(c);
        }
    }
    std::string encoding;
    for (const pugi::xml_node& node : m_document->children()) {
        if (node.type() == pugi::node_declaration) {
            encoding = node.attribute("encoding").value();
        }
    }
    if (IsUtf8Name(encoding)) {
        return ReplaceFile(m_path, text);
    }
    std::string bytes;
    if (!EncodeWithReferences(text, encoding, bytes)) {
        return CStatus::IoError(L"unknown encoding " + FromUtf8(encoding));
    }
    return ReplaceFile(m_path, bytes);
}
