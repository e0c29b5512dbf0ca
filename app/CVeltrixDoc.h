// The document of a player-list window. It holds no data of its own: the list
// is read from the database.
#pragma once

class CVeltrixDoc
{
public:
    bool OnNewDocument() { return true; }
};
