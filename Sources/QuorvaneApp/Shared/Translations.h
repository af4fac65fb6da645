#pragma once

#include <QLocale>
#include <QString>

class QTranslator;

namespace quorvane {

// The catalogue of the application's texts for the user's language, when the install holds one:
// share/quorvane/translations/quorvane_<locale>.qm next to the executable's bin folder. English,
// the language the sources are written in, needs none.
class Translations {
public:
    // The folder an install keeps its catalogues in, for an executable in applicationDir.
    static QString folderFor(const QString &applicationDir);

    // Loads the catalogue for locale from folder into translator and installs it on the
    // application; false, and nothing installed, where the folder holds none for the locale.
    static bool install(QTranslator &translator, const QLocale &locale, const QString &folder);
};

} // namespace quorvane
