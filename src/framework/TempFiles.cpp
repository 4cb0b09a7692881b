#include "framework/TempFiles.h"

#include <cctype>
#include <random>

namespace framework {
namespace {

constexpr std::size_t kRandomPart = 6;  // the "XXXXXX" of the pattern
constexpr char kSuffix[] = ".tmp";
// Tries before giving up on a folder full of names like ours.
constexpr int kCreateAttempts = 100;
// The longest file name most file systems take.
constexpr std::size_t kNameMax = 255;

// What a temporary name holds of the file's name: all of it, or as much of
// its start as leaves the name within kNameMax (cut between characters).
std::string Base(const std::string& name) {
    const std::size_t room = kNameMax - (2 + kRandomPart + sizeof(kSuffix) - 1);
    if (name.size() <= room) return name;
    std::size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

std::string RandomPart() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kLetters) - 2);
    std::string part(kRandomPart, ' ');
    for (char& c : part) c = kLetters[pick(generator)];
    return part;
}

}  // namespace

int CreateTemporary(const TFileAt& file, std::string& name, mode_t mode) {
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        name = "." + Base(file.Name()) + "." + RandomPart() + kSuffix;
        bool taken = false;
        const int fd = CreateNewFile(file, name, mode, taken);
        if (fd >= 0 || !taken) return fd;
    }
    return -1;  // every name tried was taken
}

bool IsTemporaryOf(const std::string& name, const std::string& base) {
    const std::string prefix = "." + Base(base) + ".";
    const std::string suffix = kSuffix;
    if (base.empty() || name.size() != prefix.size() + kRandomPart + suffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    if (name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + kRandomPart; ++i) {
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    }
    return true;
}

}  // namespace framework
