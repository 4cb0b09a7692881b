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

// Another program's lock: an open file description of its own holding flock.
class ForeignLock {
  public:
    explicit ForeignLock(const std::string& path)
        : fd_(open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666)) {
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
    std::string lockFile = file + ".lock";
};

TEST_F(FileLockTest, CreatesTheLockFileAndExcludesOthersWhileHeld) {
    {
        ExclusiveFileLock lock(lockFile, file, 0ms);
        EXPECT_EQ(lock.state(), State::kHeld);
        EXPECT_TRUE(lock.OnLockFile());
        EXPECT_TRUE(std::filesystem::exists(lockFile));
        ForeignLock other(lockFile);
        EXPECT_FALSE(other.held());
    }
    ForeignLock after(lockFile);
    EXPECT_TRUE(after.held());  // released with the object
    EXPECT_TRUE(std::filesystem::exists(lockFile));
}

TEST_F(FileLockTest, GivesUpAfterTheWaitWhenAnotherHoldsIt) {
    ForeignLock other(lockFile);
    ASSERT_TRUE(other.held());
    const auto start = std::chrono::steady_clock::now();
    ExclusiveFileLock lock(lockFile, file, 150ms);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(lock.state(), State::kBusy);
    EXPECT_GE(waited, 150ms);
}

TEST_F(FileLockTest, TakesTheLockWhenTheOtherLetsGoWithinTheWait) {
    auto other = std::make_unique<ForeignLock>(lockFile);
    ASSERT_TRUE(other->held());
    std::thread release([&] {
        std::this_thread::sleep_for(100ms);
        other->Release();
    });
    ExclusiveFileLock lock(lockFile, file, 5000ms);
    release.join();
    EXPECT_EQ(lock.state(), State::kHeld);
}

TEST_F(FileLockTest, MissingDirectoryGivesNoAccess) {
    const std::string missing = dir.file("no/such/horonpa.ini");
    ExclusiveFileLock lock(missing + ".lock", missing, 0ms);
    EXPECT_EQ(lock.state(), State::kNoAccess);
}

TEST_F(FileLockTest, ReadOnlyDirectoryLocksTheFileItself) {
    testsupport::WriteAll(file, "[5]\r\n");
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    int result = testsupport::RunWithoutRoot({dir.path(), file}, [&] {
        ExclusiveFileLock lock(lockFile, file, 0ms);
        if (lock.state() != State::kHeld || lock.OnLockFile()) return 1;
        ForeignLock other(file);  // another writer locking the same fallback
        if (other.held()) return 2;
        return std::filesystem::exists(lockFile) ? 3 : 0;
    });
    EXPECT_EQ(result, 0);
}

TEST_F(FileLockTest, IniWriteRaisesTheLockErrorWithThePathAndLeavesTheFile) {
    testsupport::WriteAll(file, "[5]\r\n1=a\r\n");
    ForeignLock other(lockFile);
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
    ForeignLock other(lockFile);
    framework::TIniFile ini(file);
    ini.SetLockWait(0ms);
    EXPECT_THROW(ini.WriteString("5", "1", "a"), framework::EIniFileException);
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
