#include "framework/TempFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace framework {

int CreateNewFile(const TFileAt& file, const std::string& name, mode_t mode, bool& taken) {
    const int fd = OpenAt(file.Folder(), name, O_RDWR | O_CREAT | O_EXCL, mode);
    taken = fd < 0 && errno == EEXIST;
    return fd;
}

void RemoveStaleTemporaries(const TFileAt& file) {
    const int listing = OpenAt(file.Folder(), ".", O_RDONLY | O_DIRECTORY);
    if (listing < 0) return;
    DIR* d = fdopendir(listing);
    if (d == nullptr) {
        close(listing);
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* e = readdir(d)) {
        if (IsTemporaryOf(e->d_name, file.Name())) stale.emplace_back(e->d_name);
    }
    closedir(d);
    for (const std::string& name : stale) {
        struct stat st {};
        // Only our own regular files: never another user's, never a link.
        if (fstatat(file.Folder(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == FileSystemUser()) {
            unlinkat(file.Folder(), name.c_str(), 0);
        }
    }
}

}  // namespace framework
