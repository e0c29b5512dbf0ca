// Players, aliases (named groups of accounts) and alias members, and the
// imported files.
#pragma once

#include <cstdint>
#include <string>

struct CPlayerRecord
{
    int32_t idplayer = 0;
    std::wstring name;
    int32_t idsite = 0;
    bool hero = false;
};

struct CAliasRecord
{
    int32_t id = 0;
    std::wstring name;
};

struct CAliasDataRecord
{
    int32_t idalias = 0;
    int32_t idplayer = 0;
};

struct CFileRecord
{
    int64_t id = 0;
    // The file's name and extension, without its folder.
    std::wstring path;
    int32_t idsite = 0;
    bool finish = false;
};
