// A file named by an open folder and a name in it. Everything done to such a
// file (reading it, locking its folder, writing a temporary file beside it,
// renaming that over it) goes through the folder's descriptor, so a folder
// renamed or swapped on the way between one step and the next cannot send a
// later step to another file: the file that was checked is the file written.
//
// On Windows (FileAt_win32.cpp) the folder is held open without the right for
// anyone to rename or remove it while the file is worked on, and the file is
// reached through the folder's full path as the system resolved it when it
// was opened, with the wide (UTF-16) file functions.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

namespace framework {

class TFileAt {
  public:
    // Takes over `folder`, a descriptor of a directory (O_PATH is enough; on
    // Windows a C run-time descriptor of the folder's handle).
    TFileAt(int folder, std::string name) : folder_(folder), name_(std::move(name)) {}
    ~TFileAt();
    TFileAt(TFileAt&& other) noexcept;
    TFileAt& operator=(TFileAt&& other) noexcept;
    TFileAt(const TFileAt&) = delete;
    TFileAt& operator=(const TFileAt&) = delete;

    int Folder() const { return folder_; }
    // A plain name, never empty, ".", ".." or holding a "/".
    const std::string& Name() const { return name_; }

  private:
    int folder_;
    std::string name_;
};

// Finds the file that `path` names, one part of the path at a time, each
// looked at through the descriptor of the folder that holds it, and gives the
// folder it is in, open, with its plain name. Every symbolic link met on the
// way, in a folder part or as the file itself, is followed only where two
// rules both allow it:
//  - the kernel's protected-symlink rule: the link is not in a sticky folder
//    that everybody may write (such as /tmp), or it belongs to the follower
//    or to the folder's owner;
//  - the link belongs to the follower, to root, or to the owner of what it
//    leads to (the folder or the file its target names).
// Gives nothing for a link that may not be followed, that dangles or loops,
// a folder that is missing or cannot be opened, or a path that names no file
// (ending in "/", "." or ".."). A file that does not exist is fine where the
// path names it directly: it may be made there.
//
// On Windows "\" delimits the parts as well as "/", and a name holding ":"
// (a drive, or a stream of a file) names no file. Links there (symbolic links
// and junctions, which only administrators and developers may make) are
// followed as the system follows them: an existing file is taken where its
// links lead; a link that leads nowhere gives nothing.
std::optional<TFileAt> OpenFileAt(const std::string& path);

// Makes the folder `path` and its missing parents (mode 0700), reaching them
// by the rules of OpenFileAt, and never at the end of a link. A folder that
// root makes inside another user's folder is given that folder's owner and
// group, or is not made. Returns false when the folder is not there at the end.
// (On Windows new folders get the access list they inherit.)
bool MakeFoldersAt(const std::string& path);

// POSIX only (FileAt_posix.cpp):

// The user whose permissions count for file access (the file-system user on
// Linux; it is the effective user unless changed on purpose).
std::uint32_t FileSystemUser();

// Gives the new file or folder `fd`, just made in the open folder `folder`,
// that folder's owner and group where root made it in another user's folder,
// so that its user can go on using it. False where that failed.
bool GiveToFolderOwner(int fd, int folder);

// Opens `name` in the open folder `folder` as openat(2) does, but never
// through a link (ELOOP), never waiting (a FIFO opens at once) and never as a
// controlling terminal; EINTR is retried. The folder itself is ".".
int OpenAt(int folder, const std::string& name, int flags, mode_t mode = 0);
inline int OpenAt(const TFileAt& file, int flags, mode_t mode = 0) {
    return OpenAt(file.Folder(), file.Name(), flags, mode);
}

// Windows only (FileAt_win32.cpp):

// The full path of `name` in the open folder of `file`, for the wide file
// functions ("" where the folder's path cannot be had).
std::wstring WidePathAt(const TFileAt& file, const std::string& name);

// Takes over the open `handle` (a HANDLE) as a C run-time descriptor, or
// closes it and gives -1; -1 for an invalid handle.
int DescriptorOf(void* handle);

// The handle behind the C run-time descriptor `fd`.
void* HandleOf(int fd);

}  // namespace framework
