// The temporary files a save writes beside a file before renaming them over
// it: ".<name>.XXXXXX.tmp" in the file's directory, a name no player would
// choose for a file of their own.
#pragma once

#include <string>

namespace framework {

// The mkstemps template of the temporary files of `path`, and the length of
// its suffix after the random part.
std::string TemporaryTemplate(const std::string& path);
inline constexpr int kTemporarySuffixLength = 4;  // ".tmp"

// True when `name` (a directory entry, no directory part) is a temporary
// file of the file called `base`.
bool IsTemporaryOf(const std::string& name, const std::string& base);

// Removes the temporary files of `path` that a save killed before its rename
// left behind: regular files of that pattern that belong to the user. Only the holder of the file's
// write lock may call this: then no other save is under way, and every temporary file is stale.
void RemoveStaleTemporaries(const std::string& path);

}  // namespace framework
