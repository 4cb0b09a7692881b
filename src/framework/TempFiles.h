// The temporary files a save writes beside a file before renaming them over
// it: ".<name>.XXXXXX" in the file's directory.
#pragma once

#include <string>

namespace framework {

// The mkstemp template of the temporary files of `path`.
std::string TemporaryTemplate(const std::string& path);

// True when `name` (a directory entry, no directory part) is a temporary
// file of the file called `base`.
bool IsTemporaryOf(const std::string& name, const std::string& base);

// Removes the temporary files of `path` that a save killed before its rename
// left behind. Only the holder of the file's write lock may call this: then
// no other save is under way, and every temporary file is stale.
void RemoveStaleTemporaries(const std::string& path);

}  // namespace framework
