#include "framework/FileUtils.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "framework/FileAt.h"
#include "framework/WidePath.h"

namespace framework {

const char kPathDelimiter = '\\';

std::string DirectoryOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return ".";
    // The root of a drive keeps its delimiter: "C:\x" is in "C:\", "\x" in "\".
    if (slash == 0 || (slash == 2 && path[1] == ':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

std::string ExecutablePath() {
    std::vector<wchar_t> buf(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return Utf8Path(std::wstring_view(buf.data(), n));
        // Cut to fit: try again with more room (long paths reach 32767 units).
        if (buf.size() >= 32768) return {};
        buf.resize(buf.size() * 2);
    }
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool DirectoryIsWritable(const std::string& dir) {
    // Windows grants the right to make files through the folder's access
    // list, which no attribute shows: make a file that vanishes when closed.
    const std::wstring probe = WidePath(dir) + L"\\.horonpa-write-probe.tmp";
    const HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_EXISTS;
    CloseHandle(h);
    return true;
}

bool CreateDirectories(const std::string& dir) { return MakeFoldersAt(dir); }

std::string UserDataHome() {
    // The user's roaming application data, where Windows programs keep what
    // they cannot keep beside themselves. Only a full path counts: a drive
    // and its root ("C:\"), or a share ("\\server\").
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr) return {};
    const std::wstring path = appData;
    const bool onDrive =
        path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
    const bool onShare = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
    return onDrive || onShare ? Utf8Path(path) : std::string();
}

}  // namespace framework
