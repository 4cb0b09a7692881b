// File names and the few file-system facts the program needs.
#pragma once

#include <string>

namespace framework {

// Replaces the extension of `path` by `ext` (".ini"). The extension is the
// text from the last "." that stands after the last path delimiter ("\", ":"
// and, on this platform, "/"); a path without one gets `ext` appended.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

// The directory part of `path` ("." for a bare name, "/" for a file in /; on
// Windows "\" delimits too, and a drive's root keeps its delimiter: "C:\").
std::string DirectoryOf(const std::string& path);

// The delimiter the platform puts between folders: "/", on Windows "\".
extern const char kPathDelimiter;

// `name` in the folder `dir`, joined by kPathDelimiter.
std::string JoinPath(const std::string& dir, const std::string& name);

// The full path of the running executable ("" when it cannot be found).
std::string ExecutablePath();

// True when something exists at `path` (a link is followed).
bool FileExists(const std::string& path);

// True when the directory `dir` may be written by this user.
bool DirectoryIsWritable(const std::string& dir);

// Creates `dir` and its missing parents (mode 0700 for new ones; see
// MakeFoldersAt for the links met and the owner of what root makes). Returns
// false when it cannot.
bool CreateDirectories(const std::string& dir);

// The base of the user's data directories: $XDG_DATA_HOME when it is an
// absolute path, else $HOME/.local/share when $HOME is one ("" otherwise);
// on Windows %APPDATA%, the user's roaming application data, when it is a
// full path.
std::string UserDataHome();

}  // namespace framework
