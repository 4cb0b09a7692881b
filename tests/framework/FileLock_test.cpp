#include "framework/FileLock.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <thread>

#include "framework/IniFile.h"
#include "framework/SysUtils.h"
#include "support/TempDir.h"

using framework::ExclusiveFileLock;
using namespace std::chrono_literals;

namespace {

using State = ExclusiveFileLock::State;

// Another program's lock: an open file description of its own holding flock
// on a folder or a file.
class ForeignLock {
  public:
    explicit ForeignLock(const std::string& path) : fd_(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        held_ = fd_ >= 0 && flock(fd_, LOCK_EX | LOCK_NB) == 0;
    }
    ~ForeignLock() { Release(); }
    bool held() const { return held_; }
    void Release() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
    bool held_ = false;
};

class FileLockTest : public ::testing::Test {
  protected:
    testsupport::TempDir dir;
    std::string file = dir.file("horonpa.ini");

    static framework::TFileAt At(const std::string& path) {
        auto at = framework::OpenFileAt(path);
        if (!at) throw std::runtime_error("cannot open " + path);
        return std::move(*at);
    }
};

TEST_F(FileLockTest, LocksTheFolderAndMakesNothingThere) {
    {
        ExclusiveFileLock lock(At(file), 0ms);
        EXPECT_EQ(lock.state(), State::kHeld);
        EXPECT_TRUE(lock.OnFolder());
        ForeignLock other(dir.path());
        EXPECT_FALSE(other.held());
    }
    ForeignLock after(dir.path());
    EXPECT_TRUE(after.held());  // released with the object
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(FileLockTest, GivesUpAfterTheWaitWhenAnotherHoldsIt) {
    ForeignLock other(dir.path());
    ASSERT_TRUE(other.held());
    const auto start = std::chrono::steady_clock::now();
    ExclusiveFileLock lock(At(file), 150ms);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(lock.state(), State::kBusy);
    EXPECT_GE(waited, 150ms);
}

TEST_F(FileLockTest, TakesTheLockWhenTheOtherLetsGoWithinTheWait) {
    auto other = std::make_unique<ForeignLock>(dir.path());
    ASSERT_TRUE(other->held());
    std::thread release([&] {
        std::this_thread::sleep_for(100ms);
        other->Release();
    });
    ExclusiveFileLock lock(At(file), 5000ms);
    release.join();
    EXPECT_EQ(lock.state(), State::kHeld);
}

TEST_F(FileLockTest, GamesReachingOneFileThroughDifferentLinksTakeOneLock) {
    // Two folders, each with its own link to one shared file elsewhere.
    for (const char* d : {"a", "b", "shared"}) std::filesystem::create_directory(dir.file(d));
    testsupport::WriteAll(dir.file("shared/ranks.ini"), "");
    ASSERT_EQ(symlink("../shared/ranks.ini", dir.file("a/horonpa.ini").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("shared/ranks.ini").c_str(), dir.file("b/horonpa.ini").c_str()), 0);
    ExclusiveFileLock first(At(dir.file("a/horonpa.ini")), 0ms);
    ASSERT_EQ(first.state(), State::kHeld);
    ExclusiveFileLock second(At(dir.file("b/horonpa.ini")), 0ms);
    EXPECT_EQ(second.state(), State::kBusy);
    // A file of its own in one of the link's folders is another matter.
    ExclusiveFileLock unrelated(At(dir.file("a/other.ini")), 0ms);
    EXPECT_EQ(unrelated.state(), State::kHeld);
}

TEST_F(FileLockTest, FolderThatMayNotBeReadLocksTheFileItself) {
    testsupport::WriteAll(file, "[5]\r\n");
    ASSERT_EQ(chmod(dir.path().c_str(), 0311), 0);
    int result = testsupport::RunWithoutRoot({dir.path(), file}, [&] {
        ExclusiveFileLock lock(At(file), 0ms);
        if (lock.state() != State::kHeld || lock.OnFolder()) return 1;
        ForeignLock other(file);  // another writer locking the same fallback
        return other.held() ? 2 : 0;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(FileLockTest, TheFileIsLockedAfterTheFolderAndFollowedWhenReplacedDuringTheWait) {
    testsupport::WriteAll(file, "[5]\r\n");
    // A readable folder: the file is locked too, for those who cannot lock the folder.
    {
        ExclusiveFileLock lock(At(file), 0ms);
        ASSERT_EQ(lock.state(), State::kHeld);
        EXPECT_FALSE(ForeignLock(file).held());
    }
    // A program that may not read the folder waits for the file's lock,
    // while another program's save replaces the file: it must lock the new file.
    ASSERT_EQ(chmod(dir.path().c_str(), 0311), 0);
    ForeignLock saving(file);
    ASSERT_TRUE(saving.held());
    int waiting[2];
    ASSERT_EQ(pipe(waiting), 0);
    const pid_t child = testsupport::StartChild([&] {
        saving.Release();  // the parent's lock stays: a copy of its descriptor goes
        return testsupport::RunWithoutRoot({dir.path(), file}, [&] {
            if (write(waiting[1], "w", 1) != 1) return 3;  // about to wait
            ExclusiveFileLock lock(At(file), 5000ms);
            if (lock.state() != State::kHeld || lock.OnFolder()) return 1;
            return ForeignLock(file).held() ? 2 : 0;
        });
    });
    char c;
    ASSERT_EQ(read(waiting[0], &c, 1), 1);
    close(waiting[0]);
    close(waiting[1]);
    std::this_thread::sleep_for(100ms);
    testsupport::WriteAll(dir.file("new.ini"), "[5]\r\n1=new\r\n");
    ASSERT_EQ(rename(dir.file("new.ini").c_str(), file.c_str()), 0);
    saving.Release();
    EXPECT_EQ(testsupport::ExitCodeOf(child), 0);
}

TEST_F(FileLockTest, ALinkInTheFilesPlaceIsNeverLocked) {
    // The file is found, then a link takes its name before the lock.
    const std::string target = dir.file("target.ini");
    testsupport::WriteAll(target, "");
    const framework::TFileAt at = At(file);
    ASSERT_EQ(symlink(target.c_str(), file.c_str()), 0);
    ExclusiveFileLock lock(at, 0ms);
    EXPECT_EQ(lock.state(), State::kNotAFile);
    EXPECT_TRUE(ForeignLock(target).held());
}

TEST_F(FileLockTest, IniWriteRaisesTheLockErrorWithThePathAndLeavesTheFile) {
    testsupport::WriteAll(file, "[5]\r\n1=a\r\n");
    ForeignLock other(dir.path());
    ASSERT_TRUE(other.held());
    framework::TIniFile ini(file);
    EXPECT_EQ(ini.LockWait(), 5000ms);
    ini.SetLockWait(50ms);
    try {
        ini.WriteString("5", "2", "b");
        ADD_FAILURE() << "no error";
    } catch (const framework::EIniFileLocked& e) {
        EXPECT_EQ(e.Message(),
                  file + framework::Cp932(" に書き込めません (他のプログラムが書き込み中です)"));
    }
    EXPECT_EQ(testsupport::ReadAll(file), "[5]\r\n1=a\r\n");
    other.Release();
    ini.WriteString("5", "2", "b");
    EXPECT_EQ(testsupport::ReadAll(file), "[5]\r\n1=a\r\n2=b\r\n");
}

TEST_F(FileLockTest, LockErrorIsAnIniFileException) {
    ForeignLock other(dir.path());
    framework::TIniFile ini(file);
    ini.SetLockWait(0ms);
    EXPECT_THROW(ini.WriteString("5", "1", "a"), framework::EIniFileException);
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
