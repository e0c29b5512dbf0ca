// A temporary folder owned by one test, removed with everything in it.
#pragma once

#include <string>

namespace vxtest {

class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of `name` inside the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Writes `bytes` to `name` and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // Appends `bytes` to `name`.
    void Append(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

}  // namespace vxtest
