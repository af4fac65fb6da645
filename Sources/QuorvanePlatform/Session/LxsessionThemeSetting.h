#pragma once

#include "Session/AppearanceSwitch.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace quorvane {

// LXDE's GTK theme, as its session's own settings daemon serves it: "sNet/ThemeName" in the
// [GTK] group of lxsession's desktop.conf for the session's profile. The user's file is read
// where there is one, else the system's; a change is written into the user's file (made from
// the system's when there is none, every other line kept) and lxsession is told to reload it.
class LxsessionThemeSetting final : public LookSetting {
public:
    using ThemeOf = std::function<std::optional<QString>(const QString &theme)>;

    // userFile: lxsession/<profile>/desktop.conf in the configuration home; systemFiles: the
    // same in each configuration folder of the system, the first that exists serving.
    LxsessionThemeSetting(QString userFile, QStringList systemFiles, ThemeOf dark, ThemeOf light,
                          std::function<bool(const QString &)> namesDark);
    // The files of this session's profile (DESKTOP_SESSION, LXDE without one).
    static QString sessionUserFile();
    static QStringList sessionSystemFiles();

    QString name() const override { return QStringLiteral("sNet/ThemeName"); }
    std::optional<QString> get(QString &error) const override;
    std::optional<QString> set(const QString &value) override;
    std::optional<QString> darkValue(const QString &current) const override { return m_dark(current); }
    std::optional<QString> lightValue(const QString &current) const override { return m_light(current); }
    bool isDark(const QString &value) const override { return m_namesDark(value); }

    // The file's text with the theme set in its [GTK] group (the group added when missing).
    static QString withTheme(const QString &text, const QString &theme);
    // The theme the text names; none without one.
    static std::optional<QString> themeIn(const QString &text);

    // Asks the running lxsession to read its settings again; replaced by tests.
    std::function<std::optional<QString>()> reload;

private:
    // The text in force: the user's file, else the first system file; none when neither reads.
    std::optional<QString> text(QString &error) const;

    QString m_userFile;
    QStringList m_systemFiles;
    ThemeOf m_dark;
    ThemeOf m_light;
    std::function<bool(const QString &)> m_namesDark;
};

} // namespace quorvane
