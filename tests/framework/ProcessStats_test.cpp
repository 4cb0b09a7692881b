#include "framework/ProcessStats.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace framework;

namespace {

// The launcher's variable for one test. putenv keeps the text itself, so it
// lives as long as the program; an empty value is what no launcher sets.
void SetLaunchMoment(const std::string& value) {
    static std::string entry;
    entry = "HORONPA_LAUNCH_MONOTONIC_NS=" + value;
    putenv(entry.data());
}

class ProcessStats : public testing::Test {
  protected:
    void TearDown() override { SetLaunchMoment(""); }
};

TEST_F(ProcessStats, WithoutALauncherTheSystemsRecordOfTheStartCounts) {
    SetLaunchMoment("");
    const double ms = MillisecondsSinceProcessStart();
    EXPECT_GE(ms, 0);
    EXPECT_LT(ms, 3600e3);  // this test program started less than an hour ago
    EXPECT_NEAR(ms, MillisecondsSinceRecordedStart(), 1000);
}

TEST_F(ProcessStats, TheLaunchersMomentCountsFromTheLaunchClock) {
    const double now = LaunchClockMilliseconds();
    ASSERT_GT(now, 5000);
    SetLaunchMoment(std::to_string(static_cast<long long>((now - 5000) * 1e6)));
    const double ms = MillisecondsSinceProcessStart();
    EXPECT_GE(ms, 5000);
    EXPECT_LT(ms, 5000 + 60e3);
}

TEST_F(ProcessStats, ALaunchMomentThatIsNoNumberIsIgnored) {
    for (const char* bad : {"12x", "-5", "0", " 7", "99999999999999999999999"}) {
        SetLaunchMoment(bad);
        const double ms = MillisecondsSinceProcessStart();
        EXPECT_GE(ms, 0) << bad;
        EXPECT_NEAR(ms, MillisecondsSinceRecordedStart(), 1000) << bad;
    }
}

TEST_F(ProcessStats, ThePeakMemoryGrowsWithWhatIsHeld) {
    const std::int64_t before = PeakResidentKiB();
    ASSERT_GT(before, 0);
    // 32 MiB more than the peak so far, every page written (through a
    // volatile pointer, so that no store can be left out).
    std::vector<char> held(static_cast<std::size_t>(before + 32 * 1024) * 1024);
    volatile char* pages = held.data();
    for (std::size_t i = 0; i < held.size(); i += 4096) pages[i] = 1;
    EXPECT_GE(PeakResidentKiB(), before + 28 * 1024);
}

}  // namespace
