// The private-profile INI file, read and written as the Windows profile
// functions do, on CP932 bytes.
//
// Reading: lines end in CR LF, LF or CR; blanks around section names, keys and
// values are trimmed; names compare without regard to letter case; the first
// matching section and the first matching key win; a line without "=" is no
// key; a value enclosed in a pair of the same quote character loses them; a
// value is cut after 2047 bytes. A UTF-8 byte-order mark is skipped; a file in
// UTF-16 (with its byte-order mark) is read after conversion to CP932.
//
// Reading stops a value at its first NUL byte, as a C string would.
//
// Only a regular file is read or written, and never in a way that blocks: a
// FIFO, socket, device or directory reads as a missing file and refuses every
// write, and so does a file larger than kMaxFileBytes, which is never parsed
// and so never destroyed; no write makes a file that large. Every symbolic
// link on the path, to a folder or to the file, is followed only where it
// belongs to the user, to root or to the owner of what it leads to, and not
// in a sticky folder open to all unless it is the user's or the folder
// owner's (see FileAt.h); a path through another link, or one that dangles,
// reads as a missing file and refuses every write. The file is found once per
// read or write, and then reached only through its open folder.
//
// Writing: a key's line is replaced where it stands; a new key goes after the
// last key line of its section; a new section at the end of the file; new
// lines end in CR LF and every other byte stays as it was. The new content goes
// to a temporary file beside the old one (beside a link's target) which then
// replaces it, so a failed save leaves the old file whole; it keeps the old
// file's owner, group, permission bits and access list as far as the system
// allows (see SafeFile.h, also for what a new file gets). A writable file
// that cannot be replaced (its folder refuses new files or the rename, or
// keeps every name made in it; it has other names or is a mount point; its
// owner or access list could not be kept) is rewritten in place; a refused
// write leaves it as it was, only a program killed half-way can cut it. Any
// other failure to make the temporary file (no space, no inode, no
// descriptor) refuses the write. A UTF-16 file is never rewritten: writing to
// one is refused with EIniFileException.
//
// Two programs writing the same file at once: each write holds exclusive
// locks on the file's folder, where it may be read, and on the file itself
// from reading the old content until the new one is in place (see
// FileLock.h), so no write is lost, whichever link each program reached the
// file through and whichever of the locks it could take; a write that cannot
// have them within LockWait() raises EIniFileLocked. Update() makes several
// changes under one lock and one replace. Reads take no lock: a file is
// replaced whole, so a reader sees the old or the new content (only a rewrite
// in place can be met half done).
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "framework/IniEdit.h"
#include "framework/MemIniFile.h"

namespace framework {

class TIniFile {
  public:
    // `fileName` is the file's path as the file system takes it.
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // The value of `key` in `section`, or `defaultValue` when the file, the
    // section or the key is missing. A file that cannot be read counts as missing.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // Sets `key` of `section` to `value`, creating file and section as needed.
    // Raises EIniFileException when the write is refused; the old file is then
    // left as it was.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // The whole file, read once, for several lookups; a file that reads as
    // missing gives an empty one.
    TMemIniFile ReadAll() const;

    // One change of the file under its write lock: `edit` gets the content as
    // it is now and changes it; when it returns true the file is replaced by
    // the new content in one step, when it returns false or throws nothing is
    // written. Raises EIniFileException (EIniFileLocked) like WriteString,
    // with the file left as it was.
    void Update(const std::function<bool(TMemIniFile&)>& edit);

    // The largest file that is read or rewritten (16 MiB). A ranking file
    // holds 18 sections of ten short lines, about 12 KB: anything this large
    // is not one, and is left alone.
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    static constexpr std::size_t kMaxValueBytes = ini::kMaxValueBytes;

    // How long a write waits for another program's write to finish.
    static constexpr std::chrono::milliseconds kDefaultLockWait{5000};
    std::chrono::milliseconds LockWait() const { return lockWait_; }
    void SetLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }

  private:
    std::string fileName_;
    std::chrono::milliseconds lockWait_ = kDefaultLockWait;
};

}  // namespace framework
