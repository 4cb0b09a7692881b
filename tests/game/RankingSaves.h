// What the tests of refused and unusual saves share: a ranking file with the
// ten default entries of size 5 in a directory of its own, and one save told
// apart by its outcome.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>
#include <functional>
#include <string>

#include "framework/SysUtils.h"
#include "game/RankingStore.h"
#include "support/TempDir.h"

namespace testsupport {

class RankingSaves : public ::testing::Test {
  protected:
    TempDir dir;
    std::string ini = dir.file("horonpa.ini");
    const rRanking entry{1, "Me", 500, 10, 20, 3};

    void SetUp() override {
        for (int r = 1; r <= 10; ++r) WriteRankRecord(ini, 5, DefaultRankRecord(r));
    }
    static std::string Refused(const std::string& path) {
        return path + framework::Cp932(" に書き込めません");
    }
    // Runs `body` in a child that is stopped after five seconds: a call that
    // blocks fails the test instead of hanging it. Gives what `body` returned.
    static int Unblocked(const std::function<int()>& body) {
        return ExitCodeOf(StartChild([&] {
            alarm(5);
            return body();
        }));
    }
    // 0: refused with the write error naming `path`; 1: stored; 2: another error.
    static int Save(const std::string& path, const rRanking& e, const std::string& message) {
        try {
            WriteRankRecord(path, 5, e);
            return 1;
        } catch (const framework::EIniFileException& x) {
            return x.Message() == message ? 0 : 2;
        }
    }
};

}  // namespace testsupport
