#include "framework/SafeFile.h"

#include <algorithm>

namespace framework {

FileState ReadBounded(const std::function<std::int64_t(char*, std::size_t)>& read,
                      std::uint64_t size, std::size_t maxBytes, std::string& bytes) {
    if (size > maxBytes) {
        bytes.clear();
        return FileState::kTooLarge;
    }
    FileState state = FileState::kRead;
    bytes.resize(static_cast<std::size_t>(size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > maxBytes) break;
            bytes.resize(std::min(maxBytes + 1, got * 2));
        }
        const std::int64_t n = read(bytes.data() + got, bytes.size() - got);
        if (n < 0) state = FileState::kUnreadable;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    if (got > maxBytes) state = FileState::kTooLarge;
    bytes.resize(state == FileState::kRead ? got : 0);
    return state;
}

bool RewriteWithWriteBack(const InPlaceWrites& file, const std::string& oldBytes,
                          const std::string& bytes) {
    // The room for the new length first: a full disk refuses it here, before
    // any byte of the file has changed.
    bool ok = bytes.size() <= oldBytes.size() || file.reserve(bytes.size());
    const bool touched = ok;
    if (ok) ok = file.writeFromStart(bytes) && file.setLength(bytes.size()) && file.flush();
    if (!ok) {
        if (touched) file.writeFromStart(oldBytes);
        if (file.setLength(oldBytes.size())) file.flush();
    }
    return ok;
}

}  // namespace framework
