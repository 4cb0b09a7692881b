#include "framework/FileAt.h"

#include <windows.h>
// After windows.h, which it needs.
#include <io.h>

#include <tuple>
#include <utility>

#include "framework/FileUtils.h"
#include "framework/WidePath.h"

namespace framework {
namespace {

bool IsDelimiter(wchar_t c) { return c == L'\\' || c == L'/'; }

// The folder part and the name part of a path: "a\b\c" gives "a\b" and "c",
// "c" gives "." and "c", "\c" gives "\" and "c", "C:\c" gives "C:\" and "c".
std::pair<std::wstring, std::wstring> Split(const std::wstring& path) {
    std::size_t at = path.size();
    while (at > 0 && !IsDelimiter(path[at - 1])) --at;
    if (at == 0) return {L".", path};
    std::wstring folder = path.substr(0, at);
    // Keep the delimiter of a root ("\", "C:\", "\\?\C:\"), drop any other.
    if (folder.size() > 1 && folder[folder.size() - 2] != L':') folder.pop_back();
    return {folder, path.substr(at)};
}

// A name a file can have in a folder: not empty, not "." or "..", and no
// drive or stream (":").
bool IsPlainName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." && name.find(L':') == std::wstring::npos;
}

// The folder at `path`, open; nobody may rename or remove it while it is
// held (that needs the delete access, which it does not share).
int OpenFolder(const std::wstring& path) {
    const HANDLE h =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return -1;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        CloseHandle(h);
        return -1;
    }
    return DescriptorOf(h);
}

// The full path of an open file or folder, as the system resolved it (links
// followed, short names long): "\\?\C:\...".
std::wstring FinalPath(HANDLE h) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(h, path.data(), static_cast<DWORD>(path.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(n);  // the room it needs, its NUL counted
    }
}

// The name the file at `path` has in its folder (its long name, in the case
// it was made with), or `name` where it has none.
std::wstring NameOnDisk(const std::wstring& path, const std::wstring& name) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return name;
    FindClose(search);
    return found.cFileName;
}

}  // namespace

int DescriptorOf(void* handle) {
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return -1;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (fd < 0) CloseHandle(handle);
    return fd;
}

void* HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

TFileAt::~TFileAt() {
    if (folder_ >= 0) _close(folder_);
}

TFileAt::TFileAt(TFileAt&& other) noexcept : folder_(other.folder_), name_(std::move(other.name_)) {
    other.folder_ = -1;
}

TFileAt& TFileAt::operator=(TFileAt&& other) noexcept {
    if (this != &other) {
        if (folder_ >= 0) _close(folder_);
        folder_ = other.folder_;
        name_ = std::move(other.name_);
        other.folder_ = -1;
    }
    return *this;
}

std::optional<TFileAt> OpenFileAt(const std::string& path) {
    const std::wstring wide = WidePath(path);
    auto [folder, name] = Split(wide);
    if (!IsPlainName(name)) return std::nullopt;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link: the file where it leads, which must be there.
        const HANDLE h = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return std::nullopt;
        const std::wstring target = FinalPath(h);
        CloseHandle(h);
        if (target.empty()) return std::nullopt;
        std::tie(folder, name) = Split(target);
        if (!IsPlainName(name)) return std::nullopt;
    } else if (attributes != INVALID_FILE_ATTRIBUTES) {
        // Every game names an existing file alike, whatever case or short
        // name its path used.
        name = NameOnDisk(wide, name);
    }
    TFileAt file(OpenFolder(folder), Utf8Path(name));
    if (file.Folder() < 0) return std::nullopt;
    return file;
}

bool MakeFoldersAt(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string parent = DirectoryOf(path);
    if (parent != path && parent != "." && !MakeFoldersAt(parent)) return false;
    return CreateDirectoryW(wide.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring WidePathAt(const TFileAt& file, const std::string& name) {
    const std::wstring folder = FinalPath(HandleOf(file.Folder()));
    if (folder.empty()) return {};
    return folder + (IsDelimiter(folder.back()) ? L"" : L"\\") + WidePath(name);
}

}  // namespace framework
