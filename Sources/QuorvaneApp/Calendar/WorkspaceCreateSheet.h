#pragma once

#include "Config.h"
#include "HotKeySpec.h"
#include "WorkspaceTypes.h"

#include <QWidget>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace quorvane {

class NameField;
class CalendarModel;

// The form that creates a desktop: its name, an optional shortcut, the option-click carousel,
// its type and, for a temporary desktop, an auto-move or auto-archive timer and a cleanup
// reminder. It reads the document from the model and changes it only through the model's
// createWorkspace. Shown in the new-desktop window and as a sheet of the settings window.
class WorkspaceCreateSheet : public QWidget {
    Q_OBJECT

public:
    static constexpr int formWidth = 380;

    WorkspaceCreateSheet(CalendarModel &model, std::function<void()> onClose, QWidget *parent = nullptr);

    // Runs after an attempt the model refused with a message (the message as the model left
    // it); the form stays open with every field as the user left it.
    std::function<void(const QString &message)> onRefused;

    NameField *nameField() const { return m_nameField; }

    // The permanent live desktops a temporary one can move into, in document order: not the
    // blank desktop, not the screenshots desktop.
    static QStringList homes(const Config &config);
    // "same day", "1 day", "N days".
    static QString daysLabel(int days);
    // Creates the desktop from what the form holds; closes exactly when the model stored it.
    void create();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildForm();
    QWidget *buildTemporarySection();
    QWidget *makeShortcutRecorder();
    void refreshFromModel();
    void refresh();
    void setMoveMode(ArchiveTimerMode mode);
    void setArchiveMode(ArchiveTimerMode mode);
    void setDays(int days);

    CalendarModel &m_model;
    std::function<void()> m_onClose;
    bool m_shownOnce = false;

    // What the user entered.
    QString m_name;
    std::optional<HotKeySpec> m_hotkey;
    bool m_addToCarousel = false;
    bool m_showHint = false;
    WorkspaceType m_type = WorkspaceType::permanent;
    ArchiveTimerMode m_moveMode = ArchiveTimerMode::none;
    QString m_moveTarget;
    ArchiveTimerMode m_archiveMode = ArchiveTimerMode::none;
    int m_days = 7;
    bool m_makeCleanup = true;

    // From the model's document.
    QStringList m_homes;
    bool m_carouselFull = false;

    NameField *m_nameField = nullptr;
    // Why the typed name can't be used, beside the field as the user types.
    QLabel *m_nameError = nullptr;
    QWidget *m_shortcutRecorder = nullptr;
    QLabel *m_hint = nullptr;
    QCheckBox *m_carousel = nullptr;
    QLabel *m_capNote = nullptr;
    QButtonGroup *m_typeGroup = nullptr;
    QWidget *m_temporarySection = nullptr;
    QWidget *m_temporaryNote = nullptr;
    QWidget *m_permanentNote = nullptr;
    QWidget *m_moveRow = nullptr;
    QComboBox *m_moveModePicker = nullptr;
    QComboBox *m_moveTargetPicker = nullptr;
    QWidget *m_moveDaysRow = nullptr;
    QSpinBox *m_moveDays = nullptr;
    QLabel *m_moveDaysLabel = nullptr;
    QLabel *m_noHomeNote = nullptr;
    QWidget *m_archiveRow = nullptr;
    QComboBox *m_archiveModePicker = nullptr;
    QWidget *m_archiveDaysRow = nullptr;
    QSpinBox *m_archiveDays = nullptr;
    QLabel *m_archiveDaysLabel = nullptr;
    QCheckBox *m_cleanup = nullptr;
    QPushButton *m_createButton = nullptr;
};

} // namespace quorvane
