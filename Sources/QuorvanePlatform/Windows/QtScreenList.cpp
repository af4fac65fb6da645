#include "Windows/ScreenList.h"

#include <QGuiApplication>
#include <QScreen>

namespace quorvane {

ScreenList::Token ScreenList::observe(std::function<void()> onChange)
{
    const Token token = m_next++;
    m_observers.emplace(token, std::move(onChange));
    return token;
}

void ScreenList::unobserve(Token token)
{
    m_observers.erase(token);
}

void ScreenList::notify()
{
    // An observer may unobserve itself or another one while it runs.
    const auto observers = m_observers;
    for (const auto &[token, fn] : observers) {
        if (m_observers.count(token))
            fn();
    }
}

QtScreenList::QtScreenList()
{
    if (!qGuiApp)
        return;
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qGuiApp, &QGuiApplication::screenAdded, this, [this](QScreen *screen) {
        watch(screen);
        notify();
    });
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this](QScreen *) { notify(); });
}

void QtScreenList::watch(QScreen *screen)
{
    connect(screen, &QScreen::geometryChanged, this, [this](const QRect &) { notify(); });
}

QList<QRect> QtScreenList::frames() const
{
    QList<QRect> frames;
    for (const QScreen *screen : QGuiApplication::screens())
        frames.append(screen->geometry());
    return frames;
}

} // namespace quorvane
