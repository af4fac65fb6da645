#include "Shared/FontWarmUp.h"

#include "Shared/Log.h"
#include "Work/PoolWork.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>

namespace quorvane {

FontWarmUp::FontWarmUp()
    : m_read(PoolWork::start([font = QGuiApplication::font()] {
        QElapsedTimer clock;
        clock.start();
        const qsizetype families = QFontDatabase::families().size();
        // The application's font and the fallbacks its texts need (the ellipsis, the arrows).
        QFontMetrics(font).horizontalAdvance(QStringLiteral("New desktop\u2026 \u2192"));
        qCDebug(Log::app()) << "font database read in" << clock.elapsed() << "ms," << families << "families";
    }))
{
}

FontWarmUp::~FontWarmUp()
{
    m_read.waitForFinished();
}

} // namespace quorvane
