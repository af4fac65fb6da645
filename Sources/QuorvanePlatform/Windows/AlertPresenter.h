#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace quorvane {

enum class AlertStyle {
    informational,
    warning,
    critical
};

struct Alert {
    QString message;
    QString informativeText;
    // Button titles, left to right in reading order; the first is the default button. An
    // alert without buttons gets one titled "OK".
    QStringList buttons;
    AlertStyle style = AlertStyle::warning;

    bool operator==(const Alert &) const = default;
};

// The title of an alert's plain acknowledgement.
inline QString alertOkTitle()
{
    return QCoreApplication::translate("Alert", "OK");
}

// The title of the button an alert's Escape answers, where an alert offers one; callers title
// their cancelling button with it, so the presenter knows it in any language.
inline QString alertCancelTitle()
{
    return QCoreApplication::translate("Alert", "Cancel");
}

// Asks the user a question and waits for the answer.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    // What present() answers when the alert ended without one: the application is quitting.
    static constexpr int noAnswer = -1;

    // Returns the index of the chosen button in alert.buttons (0 for the implicit "OK"), or
    // noAnswer.
    virtual int present(const Alert &alert) = 0;
};

} // namespace quorvane
