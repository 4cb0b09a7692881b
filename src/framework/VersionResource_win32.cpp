#include "framework/VersionResource.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace framework {
namespace {

std::wstring Wide(const std::string& utf8) {
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

// The path in the ANSI code page, for the ANSI functions the program names;
// nothing when the ANSI code page cannot hold it, and the wide functions,
// which read the same information, take the path instead.
std::optional<std::string> Ansi(const std::wstring& path) {
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(),
                                      static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.data(), static_cast<int>(path.size()),
                        out.data(), n, nullptr, &usedDefault);
    if (usedDefault || (n == 0 && !path.empty())) return std::nullopt;
    return out;
}

DWORD InfoSize(const std::string& path) {
    const std::wstring wide = Wide(path);
    DWORD ignored = 0;
    if (const auto ansi = Ansi(wide)) return ::GetFileVersionInfoSizeA(ansi->c_str(), &ignored);
    return ::GetFileVersionInfoSizeW(wide.c_str(), &ignored);
}

}  // namespace

std::uint32_t GetFileVersionInfoSizeA(const std::string& path, std::uint32_t* handle) {
    if (handle) *handle = 0;
    return InfoSize(path);
}

bool GetFileVersionInfoA(const std::string& path, [[maybe_unused]] std::uint32_t handle,
                         std::uint32_t size, void* data) {
    if (!data) return false;
    // The system would hand a buffer that is too small a cut block: refused
    // instead, as the Linux reader does, with nothing for a query to find.
    const DWORD need = InfoSize(path);
    bool ok = need > 0 && size >= need;
    if (ok) {
        const std::wstring wide = Wide(path);
        const auto ansi = Ansi(wide);
        ok = ansi ? ::GetFileVersionInfoA(ansi->c_str(), 0, size, data)
                  : ::GetFileVersionInfoW(wide.c_str(), 0, size, data);
    }
    if (!ok) std::memset(data, 0, std::min<std::size_t>(size, 2));
    return ok;
}

bool VerQueryValueA(const void* block, const std::string& subBlock, const void** buffer,
                    std::uint32_t* len) {
    if (buffer) *buffer = nullptr;
    if (len) *len = 0;
    // An outer length of 0: a buffer that GetFileVersionInfoA refused.
    if (!block || !buffer || !len || std::memcmp(block, "\0\0", 2) == 0) return false;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block, subBlock.c_str(), &value, &length)) return false;
    *buffer = value;
    *len = length;
    return true;
}

}  // namespace framework
