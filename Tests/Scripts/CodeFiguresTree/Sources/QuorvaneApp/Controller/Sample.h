#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace quorvane {

class Helper;

// A comment that reads "public: int notAField;" with { a brace }.
class Sample : public QObject {
    Q_OBJECT
    Q_PROPERTY(int value READ value NOTIFY changed)

public:
    static constexpr int limit = 3;
    static const QString name;
    static int instances;

    explicit Sample(int a);
    ~Sample() override;
    Sample(const Sample &) = delete;
    int value() const { return m_value; }
    void handle(const QString &text,
                int count);

    std::function<void(const QString &name, int count)> onDone;
    std::function<bool()> isBusy = [] { return false; };
    int counter = 0;
    const int fixed = 1;
    const char *label = "not; a {field}";

signals:
    void changed(int value);

private:
    friend class Helper;
    int m_value = 0;
};

struct Record {
    std::function<void()> notify;
    int size = 0;
};

} // namespace quorvane
