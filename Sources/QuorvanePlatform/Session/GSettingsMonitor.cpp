#include "Session/GSettingsMonitor.h"

#include "Work/ToolProcess.h"

namespace quorvane {

GSettingsMonitor::GSettingsMonitor(const QString &schema, const QString &key, QObject *parent)
    : QObject(parent)
{
    // One line per change: "color-scheme: 'prefer-dark'".
    connect(&m_process, &QProcess::readyReadStandardOutput, this, [this] {
        bool any = false;
        while (m_process.canReadLine()) {
            m_process.readLine();
            any = true;
        }
        if (any)
            emit changed();
    });
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    // The monitor lives as long as the application, and not a moment longer.
    endWithThisProcess(m_process);
    m_process.start(QStringLiteral("gsettings"), {QStringLiteral("monitor"), schema, key});
}

GSettingsMonitor::~GSettingsMonitor()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

} // namespace quorvane
