#pragma once

#include <algorithm>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace quorvane::test {

// Records the log messages written while it lives (of one category when one is given) and
// passes every message on to the handler that was installed before it.
class LogCapture {
public:
    struct Entry {
        QtMsgType type;
        QString category;
        QString text;
    };

    explicit LogCapture(const char *category = nullptr)
        : m_category(category)
        , m_previous(qInstallMessageHandler(&LogCapture::handle))
    {
        s_current = this;
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines;
    std::vector<Entry> entries;
    int count(const QString &line) const { return int(lines.count(line)); }
    int countStartingWith(const QString &start) const
    {
        return int(std::count_if(lines.begin(), lines.end(), [&](const QString &l) { return l.startsWith(start); }));
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        LogCapture *self = s_current;
        if (!self)
            return;
        const QByteArray category = context.category ? QByteArray(context.category) : QByteArray();
        if (self->m_category.isNull() || category == self->m_category) {
            self->lines << message;
            self->entries.push_back(Entry{type, QString::fromUtf8(category), message});
        }
        if (self->m_previous)
            self->m_previous(type, context, message);
    }

    static inline LogCapture *s_current = nullptr;
    QByteArray m_category;
    QtMessageHandler m_previous = nullptr;
};

} // namespace quorvane::test
