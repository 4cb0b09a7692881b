// The dialogs of a win, answered by the test: records what the update shows
// and gives `answer` to the name box (after `beforeAnswer`, when set, which
// lets a test hold the box open).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/RankingUpdate.h"

namespace testsupport {

class FakeDialogs : public ranking::RankingDialogs {
  public:
    std::string answer;
    std::function<void()> beforeAnswer;
    std::vector<std::string> shown;  // messages, and "name:" + title for the name box

    void ShowMessage(const std::string& text) override { shown.push_back(text); }
    std::string InputName(const std::string& title) override {
        shown.push_back("name:" + title);
        if (beforeAnswer) beforeAnswer();
        return answer;
    }
};

}  // namespace testsupport
