#pragma once

#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QWidget>

#include <optional>
#include <vector>

class QBoxLayout;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSpinBox;

namespace quorvane {

struct Config;

// One live temporary desktop on the Organize page: where its files go when it is cleared
// (kept, moved into a home desktop, or archived), whether that happens by itself after an idle
// or a fixed number of days, and a button that clears it now behind the optional
// confirmation. It is one line when that fits its width, else a line over the timer's row.
class TemporaryRow : public QWidget {
    Q_OBJECT

public:
    enum class AutoWhen {
        off,
        idle,
        fixed
    };
    enum class Arrangement {
        sentence,
        stacked
    };
    static constexpr int defaultDays = 7;
    static constexpr int maximumDays = 365;

    TemporaryRow(const SettingsContext &context, const Workspace &workspace, QWidget *parent = nullptr);

    // Shows the desktop as stored now; writes nothing.
    void update(const Workspace &workspace);

    const QString &name() const { return m_workspace.name; }
    Arrangement arrangement() const { return m_arrangement; }
    QComboBox *destinationMenu() const { return m_destination; }
    QComboBox *whenMenu() const { return m_when; }
    QSpinBox *daysStepper() const { return m_days; }
    QPushButton *clearButton() const { return m_clear; }

    // The permanent live desktops a temporary one may move its files into: not the blank
    // desktop and not the one that collects screenshots.
    static std::vector<QString> homes(const Config &config);
    // The drain target while it is a live permanent desktop; none otherwise.
    static std::optional<QString> targetName(const Config &config, const Workspace &workspace);
    static AutoWhen currentWhen(const Workspace &workspace);
    // "same day", "1 day", "12 days".
    static QString daysText(int days);

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void chooseDestination(int index);
    void setWhen(AutoWhen when, int days);
    void clearNow();
    void confirmDrain(const QString &target);
    void confirmArchive();
    void showDays(int days);
    // The width of the one-line arrangement at the parts' preferred sizes.
    int sentenceWidth() const;
    void arrange();
    bool clears() const { return m_workspace.clearMode != ClearMode::keep; }

    const SettingsContext &m_context;
    Workspace m_workspace;
    std::vector<QString> m_homes;
    std::optional<QString> m_target;
    Arrangement m_arrangement = Arrangement::sentence;
    bool m_arranged = false;

    QBoxLayout *m_column;
    QHBoxLayout *m_line;
    QHBoxLayout *m_autoRow;
    QLabel *m_name;
    QLabel *m_arrow;
    QComboBox *m_destination;
    QLabel *m_automatically;
    QWidget *m_whenControls;
    QComboBox *m_when;
    QSpinBox *m_days;
    QPushButton *m_clear;
    QWidget *m_divider;
    QLabel *m_autoLabel;
};

} // namespace quorvane
