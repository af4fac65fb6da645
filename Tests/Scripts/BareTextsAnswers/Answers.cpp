// A command line's answers: three reach the user untranslated; the others are translated, logged,
// a key file's group line or no words at all.
QString answer(bool busy, const QString &name)
{
    const char quote = '"'; // "not an answer, a comment"
    if (busy)
        return QStringLiteral("nothing can be switched: ") + name;
    qCInfo(Log::app()) << "a log line, "
                          "over two lines";
    const QString group = QStringLiteral("[Desktop Entry]") + QLatin1Char(quote);
    if (name.isEmpty())
        return QCoreApplication::translate("Answers", "there is no desktop named %1 (%2)").arg(name, group);
    if (name == QLatin1String("--switch-to"))
        return QStringLiteral("see https://example.org // this isn't a comment");
    return tr("switching to the next "
              "desktop")
        + QStringLiteral("“%1” isn't a folder.");
}
