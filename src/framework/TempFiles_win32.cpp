#include "framework/TempFiles.h"

#include <windows.h>
// After windows.h, which it needs.
#include <aclapi.h>

#include <vector>

#include "framework/WidePath.h"

namespace framework {
namespace {

// True when the file at `path` belongs to the user running the program.
bool OwnedByMe(const std::wstring& path) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    bool mine = false;
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::vector<unsigned char> user(size);
        if (size > 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size)) {
            mine = EqualSid(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, owner);
        }
        CloseHandle(token);
    }
    LocalFree(descriptor);
    return mine;
}

}  // namespace

int CreateNewFile(const TFileAt& file, const std::string& name, [[maybe_unused]] mode_t mode,
                  bool& taken) {
    // The folder's access list, as for any new file; nobody else may open it
    // while it is written.
    const HANDLE h = CreateFileW(WidePathAt(file, name).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                 nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    taken =
        h == INVALID_HANDLE_VALUE && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
    const int fd = DescriptorOf(h);
    SetLastError(error);
    return fd;
}

void RemoveStaleTemporaries(const TFileAt& file) {
    const std::wstring folder = WidePathAt(file, "");
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L".*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> stale;
    do {
        // Only regular files: never a folder, never a link.
        const DWORD kinds = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((found.dwFileAttributes & kinds) == 0 &&
            IsTemporaryOf(Utf8Path(found.cFileName), file.Name())) {
            stale.push_back(folder + found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    for (const std::wstring& path : stale) {
        // Only our own: never another user's.
        if (OwnedByMe(path)) DeleteFileW(path.c_str());
    }
}

}  // namespace framework
