#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

namespace quorvane {

// Tells when an embedding tray takes the screen's tray selection: the MANAGER message it
// announces itself with on the root window, or the selection's owner changing (a tray that
// announces nothing). Without X11 it never tells.
class XEmbedTrayWatcher final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit XEmbedTrayWatcher(QObject *parent = nullptr);
    ~XEmbedTrayWatcher() override;

    // Whether the selection has an owner now.
    static bool trayPresent();

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

Q_SIGNALS:
    // A tray took the selection; sent on the next turn of the event loop.
    void trayAppeared();

private:
    uint8_t m_xfixesFirstEvent = 0;
    bool m_installed = false;
};

} // namespace quorvane
