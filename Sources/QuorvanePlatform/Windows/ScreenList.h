#pragma once

#include <QList>
#include <QObject>
#include <QRect>

#include <functional>
#include <map>

class QScreen;

namespace quorvane {

// The screens the overlays cover: their frames in the window system's order, and a call
// whenever a screen is added or removed or changes its geometry.
class ScreenList {
public:
    using Token = int;
    virtual ~ScreenList() = default;
    virtual QList<QRect> frames() const = 0;
    // The observer runs after every change; unobserve before it goes away.
    Token observe(std::function<void()> onChange);
    void unobserve(Token token);

protected:
    void notify();

private:
    Token m_next = 1;
    std::map<Token, std::function<void()>> m_observers;
};

// The application's screens (QGuiApplication::screens()).
class QtScreenList final : public QObject, public ScreenList {
    Q_OBJECT
public:
    QtScreenList();
    QList<QRect> frames() const override;

private:
    void watch(QScreen *screen);
};

} // namespace quorvane
