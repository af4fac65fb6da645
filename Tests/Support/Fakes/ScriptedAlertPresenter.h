#pragma once

#include "ForeignWords.h"
#include "Windows/AlertPresenter.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace quorvane::test {

// Answers alerts from a script of button indexes and records every alert shown. With the
// script used up it answers the default button (0) and counts the alert as unscripted. An
// alert that names another platform's facility fails the test that raised it.
class ScriptedAlertPresenter final : public AlertPresenter {
public:
    std::deque<int> answers;
    std::vector<Alert> shown;
    int unscripted = 0;
    // Runs while an alert is up, as events served by a real alert's own loop would.
    std::function<void()> whileShown;

    int present(const Alert &alert) override
    {
        shown.push_back(alert);
        EXPECT_EQ(foreignWord(QStringList{alert.message, alert.informativeText} + alert.buttons), QString());
        if (whileShown) {
            const auto during = std::exchange(whileShown, nullptr);
            during();
        }
        if (answers.empty()) {
            ++unscripted;
            return 0;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace quorvane::test
