// The stat definitions file: rooms and the statistic columns of the tables, read
// once at start-up into a tree that is queried by section. Reading is not
// synchronised; load before other threads use it.
#pragma once

#include <boost/property_tree/ptree.hpp>

#include <cstdint>
#include <string>
#include <vector>

// One entry of a section. Absent keys give 0, empty text or an empty list.
struct CStatDefinition
{
    int32_t id = 0;
    std::wstring name;
    std::wstring notation;
    std::wstring description;
    std::wstring type;
    std::vector<int32_t> options;
    int32_t value = 0;
};

class CStatDefinitions
{
public:
    // Reads the JSON file at `path` into the tree, replacing the previous one.
    // False when the file does not exist; true otherwise, also after a read or
    // syntax error, which keeps what was parsed before it.
    bool LoadStatTypes(const std::string& path);

    // Same as LoadStatTypes for text already in memory (UTF-8 JSON).
    void LoadFromText(const std::string& utf8Json);

    // Appends the entries of the section at the dot-separated `path` to
    // `entries`; true when the list is not empty afterwards. A value of the
    // wrong type ends the reading at that entry.
    bool ReadStatSection(const std::wstring& path, std::vector<CStatDefinition>& entries) const;

    bool Empty() const { return m_tree.empty(); }

private:
    boost::property_tree::wptree m_tree;
};
