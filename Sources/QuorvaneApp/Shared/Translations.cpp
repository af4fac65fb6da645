#include "Shared/Translations.h"

#include "Shared/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace quorvane {

QString Translations::folderFor(const QString &applicationDir)
{
    return QDir::cleanPath(applicationDir + QStringLiteral("/../" QUORVANE_DATADIR "/quorvane/translations"));
}

bool Translations::install(QTranslator &translator, const QLocale &locale, const QString &folder)
{
    if (!translator.load(locale, QStringLiteral("quorvane"), QStringLiteral("_"), folder))
        return false;
    QCoreApplication::installTranslator(&translator);
    qCInfo(Log::app()) << "texts translated by" << translator.filePath();
    return true;
}

} // namespace quorvane
