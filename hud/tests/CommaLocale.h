// A German (decimal comma) locale for the calling process, made from the
// machine's locale sources when it is not installed: LOCPATH lets the C
// library load it from a folder of the test's own. Back to "C" when it goes.
#pragma once

#include "testing/CTempDir.h"

#include <clocale>
#include <cstdlib>
#include <string>

namespace vxtest {

class CCommaLocale
{
public:
    CCommaLocale()
    {
        const char* name = "de_DE.UTF-8";
        if (std::setlocale(LC_ALL, name) != nullptr) {
            m_ok = true;
            return;
        }
        if (std::system("command -v localedef >/dev/null 2>&1") != 0) {
            m_reason = "localedef is not installed";
            return;
        }
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + m_dir.File(name) + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            m_reason = "the de_DE locale sources are not installed";
            return;
        }
        const char* old = std::getenv("LOCPATH");
        m_hadPath = old != nullptr;
        m_oldPath = m_hadPath ? old : "";
        ::setenv("LOCPATH", m_dir.Path().c_str(), 1);
        m_ok = std::setlocale(LC_ALL, name) != nullptr;
        if (!m_ok) {
            m_reason = "the generated de_DE.UTF-8 locale cannot be loaded";
        }
    }
    ~CCommaLocale()
    {
        std::setlocale(LC_ALL, "C");
        if (m_hadPath) {
            ::setenv("LOCPATH", m_oldPath.c_str(), 1);
        } else {
            ::unsetenv("LOCPATH");
        }
    }
    CCommaLocale(const CCommaLocale&) = delete;
    CCommaLocale& operator=(const CCommaLocale&) = delete;

    bool Ok() const { return m_ok; }
    const std::string& Reason() const { return m_reason; }

private:
    CTempDir m_dir;
    bool m_ok = false;
    bool m_hadPath = false;
    std::string m_oldPath;
    std::string m_reason;
};

}  // namespace vxtest
