#pragma once

#include <QObject>
#include <QProcess>

namespace quorvane {

// Watches one key of the session's settings through "gsettings monitor": changed() is emitted
// each time the key takes a new value. Without the tool, or when it ends, nothing is reported.
class GSettingsMonitor final : public QObject {
    Q_OBJECT
public:
    GSettingsMonitor(const QString &schema, const QString &key, QObject *parent = nullptr);
    ~GSettingsMonitor() override;

signals:
    void changed();

private:
    QProcess m_process;
};

} // namespace quorvane
