// Folder creation with parents.
#pragma once

#include <string>

// Creates `path` and any missing parents. True when the folder exists afterwards
// (also when it existed before). Paths of PATH_MAX characters or more, and
// paths whose parent cannot be made, fail. A trailing "/" is ignored.
bool CreateFolderWithParents(const std::string& path);
