#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace quorvane {

class RelocationGraphic;

// The move prompt's content: the picture, the question, why, a failure's text when the last
// attempt failed, and "Not now" beside "Move to Applications" (the default button).
class MoveToApplicationsView : public QWidget {
public:
    static constexpr int width = 420;
    static constexpr int textToButtons = 18;

    // move may throw; its failure is shown and the prompt stays.
    MoveToApplicationsView(const QString &sourceFolderName, std::function<void()> move, std::function<void()> decline,
                           QWidget *parent = nullptr);

    // Clears the failure, runs move and shows its failure if it throws.
    void attemptMove();
    // The least height it takes, however few lines its texts wrap to; it grows past it to show
    // every line of them at its width.
    void setLeastHeight(int height);

    QString errorText() const { return m_errorText; }
    RelocationGraphic *graphic() const { return m_graphic; }
    QPushButton *moveButton() const { return m_moveButton; }
    QPushButton *declineButton() const { return m_declineButton; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setErrorText(const QString &text);
    void fitHeight();

    int m_leastHeight = 0;
    std::function<void()> m_move;
    std::function<void()> m_decline;
    QString m_errorText;
    RelocationGraphic *m_graphic;
    QLabel *m_error;
    QPushButton *m_moveButton;
    QPushButton *m_declineButton;
};

} // namespace quorvane
