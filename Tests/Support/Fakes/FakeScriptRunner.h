#pragma once

#include "ScriptRunner.h"

#include <QStringList>

#include <deque>
#include <optional>

namespace quorvane::test {

// Records every script it is asked to run and answers from a queue of replies; once the
// queue is empty it answers none, or throws failText when set.
class FakeScriptRunner : public ScriptRunner {
public:
    QStringList scripts;
    std::deque<std::optional<QString>> replies;
    std::optional<QString> failText;

    std::optional<QString> run(const QString &script) override
    {
        scripts << script;
        if (failText)
            throw ScriptError(*failText);
        if (replies.empty())
            return std::nullopt;
        auto reply = replies.front();
        replies.pop_front();
        return reply;
    }
};

} // namespace quorvane::test
