#include "support/TempDir.h"

#include <windows.h>

#include <cwchar>
#include <random>
#include <stdexcept>

#include "framework/WidePath.h"

namespace testsupport {

std::string MakeTempDir() {
    wchar_t base[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, base);
    if (n == 0 || n > MAX_PATH) throw std::runtime_error("no temporary folder");
    std::mt19937_64 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring path =
            std::wstring(base, n) + L"horonpa-test-" + std::to_wstring(generator() % 1000000000);
        if (CreateDirectoryW(path.c_str(), nullptr)) return framework::Utf8Path(path);
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw std::runtime_error("cannot make a temporary folder");
}

std::filesystem::path NativePath(const std::string& path) { return framework::WidePath(path); }

std::intptr_t StartSelf(const std::vector<std::string>& environment) {
    // The environment block: the program's own, then the additions, each
    // NUL-terminated, and one more NUL at the end.
    std::wstring block;
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* entry = own; *entry != L'\0'; entry += wcslen(entry) + 1) {
        block += entry;
        block += L'\0';
    }
    FreeEnvironmentStringsW(own);
    for (const std::string& entry : environment) {
        block += framework::WidePath(entry);
        block += L'\0';
    }
    block += L'\0';
    wchar_t self[MAX_PATH + 1];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) return -1;
    std::wstring command = L"\"" + std::wstring(self, n) + L"\" --gtest_filter=-*";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        block.data(), nullptr, &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    return reinterpret_cast<std::intptr_t>(process.hProcess);
}

int ExitCodeOfSelf(std::intptr_t child) {
    if (child == -1) return -1;
    const HANDLE process = reinterpret_cast<HANDLE>(child);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process, &code)) {
        code = static_cast<DWORD>(-1);
    }
    CloseHandle(process);
    return static_cast<int>(code);
}

void OpenUpForRemoval(const std::filesystem::path& entry, std::filesystem::file_type type) {
    // A read-only file or folder cannot be removed on Windows; a link is left
    // as it is (removing it does not follow it).
    if (type != std::filesystem::file_type::directory &&
        type != std::filesystem::file_type::regular) {
        return;
    }
    const DWORD attributes = GetFileAttributesW(entry.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetFileAttributesW(entry.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    }
}

}  // namespace testsupport
