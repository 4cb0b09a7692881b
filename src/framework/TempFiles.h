// The temporary files a save writes beside a file before renaming them over
// it: ".<name>.XXXXXX.tmp" in the file's folder, a name no player would
// choose for a file of their own. Where such a name would be longer than a
// file name may be, it holds only the start of <name>.
#pragma once

#include <string>

#include "framework/FileAt.h"

namespace framework {

// Creates a new temporary file of `file` in its folder (with `mode`, as
// open(2) takes it, never through a link, never one that exists) and gives
// its descriptor, with its name in `name`; -1 with errno set when none can
// be made.
int CreateTemporary(const TFileAt& file, std::string& name, mode_t mode);

// The platform's part of CreateTemporary: makes the file `name` in the folder
// of `file` (never through a link, never one that exists) and gives its
// descriptor (on Windows a C run-time descriptor of its handle), or -1 with
// `taken` true where the name exists.
int CreateNewFile(const TFileAt& file, const std::string& name, mode_t mode, bool& taken);

// True when `name` (a directory entry, no directory part) is a temporary
// file of the file called `base`.
bool IsTemporaryOf(const std::string& name, const std::string& base);

// Removes the temporary files of `file` that a save killed before its rename
// left behind: regular files of that pattern that belong to the user. Only
// the holder of the lock on the file's folder may call this: then no other
// save of it is under way, and every temporary file is stale.
void RemoveStaleTemporaries(const TFileAt& file);

}  // namespace framework
