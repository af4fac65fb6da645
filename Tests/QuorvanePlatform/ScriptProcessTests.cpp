#include "ScriptProcess.h"
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::TempHome;

namespace {

// Writes an executable shell script standing in for the script tool.
class StubTool {
public:
    explicit StubTool(const QByteArray &body)
        : m_path(m_home.filePath("tool"))
    {
        test::writeFile(m_path, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString path() const { return m_path; }
    QString file(const QString &name) const { return m_home.filePath(name); }

private:
    TempHome m_home;
    QString m_path;
};

QString errorText(ScriptProcess &process, const QString &script)
{
    try {
        process.run(script);
    } catch (const ScriptError &error) {
        return error.text();
    }
    ADD_FAILURE() << "the run did not fail";
    return {};
}

TEST(ScriptProcess, PassesDashEAndTheScriptAsTwoArguments)
{
    StubTool stub("printf '%s|%s' \"$1\" \"$2\" > \"$(dirname \"$0\")/args\"; echo ok");
    ScriptProcess process(stub.path());
    const QString script = "tell application \"Finder\"\n  set out to \"a\\\\b\"\nend tell";
    EXPECT_EQ(process.run(script), QString("ok"));
    EXPECT_EQ(QString::fromUtf8(test::readFile(stub.file("args"))), "-e|" + script);
}

TEST(ScriptProcess, ExitZeroGivesTheTrimmedReplyOrNone)
{
    struct Case {
        QByteArray body;
        std::optional<QString> reply;
    };
    const Case cases[] = {
        {"printf '  120, 340 \\r\\n\\n'", QString("120, 340")},
        {"printf '0\\t1\\t2\\r1\\t3\\t4\\r'", QString("0\t1\t2\r1\t3\t4")},
        {"printf 'caf\\303\\251'", QString::fromUtf8("caf\xC3\xA9")},
        {"printf ' \\n\\t'", std::nullopt},
        {"true", std::nullopt},
        {"printf 'caf\\351'", std::nullopt}, // not UTF-8
        {"printf 'reply'; echo 'noise' >&2", QString("reply")},
    };
    for (const Case &c : cases) {
        StubTool stub(c.body);
        ScriptProcess process(stub.path());
        EXPECT_EQ(process.run("x"), c.reply) << c.body.toStdString();
    }
}

TEST(ScriptProcess, OtherExitsThrowTheTrimmedErrorText)
{
    struct Case {
        QByteArray body;
        QString text;
    };
    const Case cases[] = {
        {"echo out; echo '  execution error: Not authorized to send Apple events (-1743)' >&2; exit 1",
         "execution error: Not authorized to send Apple events (-1743)"},
        {"exit 2", ""},
        {"printf 'caf\\351' >&2; exit 1", ""}, // not UTF-8
        {"echo 'killed' >&2; kill -9 $$", "killed"},
    };
    for (const Case &c : cases) {
        StubTool stub(c.body);
        ScriptProcess process(stub.path());
        EXPECT_EQ(errorText(process, "x"), c.text) << c.body.toStdString();
    }
}

TEST(ScriptProcess, LargeRepliesOnBothPipesDoNotStallTheChild)
{
    // Several megabytes on standard error before standard output and the other way round: a
    // runner that reads only one pipe, or only after the exit, never returns.
    StubTool ok("head -c 3000000 /dev/zero | tr '\\0' e >&2; head -c 5000000 /dev/zero | tr '\\0' o; exit 0");
    const auto reply = ScriptProcess(ok.path()).run("x");
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(reply->size(), 5000000);
    EXPECT_EQ(reply->count(QLatin1Char('o')), 5000000);

    StubTool failing("head -c 5000000 /dev/zero | tr '\\0' o; head -c 3000000 /dev/zero | tr '\\0' e >&2; exit 1");
    ScriptProcess process(failing.path());
    const QString text = errorText(process, "x");
    EXPECT_EQ(text.size(), 3000000);
    EXPECT_EQ(text.count(QLatin1Char('e')), 3000000);
}

TEST(ScriptProcess, AToolThatCannotStartIsAnError)
{
    TempHome home;
    ScriptProcess missing(home.filePath("no such tool"));
    EXPECT_FALSE(errorText(missing, "x").isEmpty());

    test::writeFile(home.filePath("not executable"), "#!/bin/sh\necho hi\n");
    ScriptProcess plain(home.filePath("not executable"));
    EXPECT_FALSE(errorText(plain, "x").isEmpty());
}

TEST(ScriptProcess, AScriptWithANulIsRefusedUnrun)
{
    StubTool stub("touch \"$(dirname \"$0\")/ran\"");
    ScriptProcess process(stub.path());
    EXPECT_FALSE(errorText(process, QString("a") + QChar(u'\0') + "b").isEmpty());
    EXPECT_FALSE(QFile::exists(stub.file("ran")));
}

TEST(ScriptProcess, WaitingServesNoEvents)
{
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    StubTool stub("sleep 0.2; echo done");
    EXPECT_EQ(ScriptProcess(stub.path()).run("x"), QString("done"));
    EXPECT_FALSE(fired);
    QCoreApplication::processEvents();
    EXPECT_TRUE(fired);
}

TEST(LinuxScriptRunner, EveryRunFailsForWantOfAScriptHost)
{
    LinuxScriptRunner runner;
    try {
        runner.run("tell application \"Finder\" to name of desktop");
        ADD_FAILURE() << "the run did not fail";
    } catch (const ScriptError &error) {
        EXPECT_EQ(error.text(), "could not create script");
    }
}

} // namespace
