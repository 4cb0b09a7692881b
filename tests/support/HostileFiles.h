// Damaged and unusual ranking files, each with what reading ranks 1 to 10 of
// board size 5 must give. Shared by the store's tests and the ranking window's.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

struct HostileFile {
    std::string name;
    std::string bytes;
    // For ranks 1..10 of size 5: the entry as "rank|name|score|seconds|clicks|colors"
    // (CP932 bytes), or "error:" and the exception's CP932 message.
    std::vector<std::string> size5;
    bool saveRefused = false;  // a save is refused (the file stays as it is)
};

// Every hostile file. None has a section for size 4, so a save of size 4
// must append that section and change no other byte.
std::vector<HostileFile> HostileFiles();

// The outcome of ReadRankRecord(path, size, rank), in the form above.
std::string ReadOutcome(const std::string& path, int size, int rank);

}  // namespace testsupport
