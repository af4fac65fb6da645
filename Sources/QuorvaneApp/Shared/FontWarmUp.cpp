#include "Shared/FontWarmUp.h"

#include "Shared/FreedMemory.h"
#include "Shared/Log.h"
#include "Work/PoolWork.h"

#include <QElapsedTimer>
#include <QFontDatabase>

namespace quorvane {

FontWarmUp::FontWarmUp()
    : m_read(PoolWork::start([] {
        QElapsedTimer clock;
        clock.start();
        // The database only, where the wait on a cache's lock lies. A face is loaded by the first
        // text that needs it: loaded here, the font file and the shaping libraries would stay
        // resident from the start for a menu that may never open (about 1.5 MB).
        const qsizetype families = QFontDatabase::families().size();
        qCDebug(Log::app()) << "font database read in" << clock.elapsed() << "ms," << families << "families";
        // The read's scratch memory lies free in this thread's arena, after the launch gave back
        // what the start freed: it goes back too.
        giveBackFreedMemory();
    }))
{
}

FontWarmUp::~FontWarmUp()
{
    m_read.waitForFinished();
}

} // namespace quorvane
