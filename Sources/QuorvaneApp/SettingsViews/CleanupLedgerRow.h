#pragma once

#include "Date.h"
#include "SettingsViews/SettingsContext.h"

#include <QColor>
#include <QDate>
#include <QWidget>

class QDateEdit;
class QLabel;
class QToolButton;

namespace quorvane {

class ColorSwatch;

// A scheduled cleanup of one desktop: its colour and name, "overdue" once its day has passed,
// the day (a pick moves the cleanup to that day) and the button that removes the reminder.
class CleanupLedgerRow : public QWidget {
    Q_OBJECT

public:
    CleanupLedgerRow(const SettingsContext &context, const QString &name, QWidget *parent = nullptr);

    // Shows the entry; today is the local day the page is drawn on. Writes nothing.
    void update(const QColor &color, Date date, QDate today);

    QLabel *overdueLabel() const { return m_overdue; }
    QDateEdit *dateEditor() const { return m_date; }
    QToolButton *removeButton() const { return m_remove; }
    ColorSwatch *swatch() const { return m_swatch; }

    // The local day of a stored date, and the stored date of a local day's start.
    static QDate localDay(Date date);
    static Date startOf(QDate day);

private:
    const SettingsContext &m_context;
    QString m_name;
    ColorSwatch *m_swatch;
    QLabel *m_overdue;
    QDateEdit *m_date;
    QToolButton *m_remove;
};

} // namespace quorvane
