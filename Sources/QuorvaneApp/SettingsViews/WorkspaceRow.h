#pragma once

#include "SettingsViews/SettingsContext.h"
#include "Workspace.h"

#include <QList>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;
class QVariantAnimation;

namespace quorvane {

class DeskMetadataRow;

// One live desktop in the list: the drag handle, its name in a field that renames it when
// submitted or left, the free area that switches to it, and the chevron that shows its
// details underneath. The details open and close by growing and shrinking the row.
class WorkspaceRow : public QWidget {
    Q_OBJECT

public:
    static constexpr int rowHeight = 44;
    static constexpr int openMilliseconds = 180;

    WorkspaceRow(const SettingsContext &context, const Workspace &workspace, bool isActive, QWidget *parent = nullptr);

    // A refresh: the field shows the stored name again only when that name changed.
    void update(const Workspace &workspace, bool isActive);
    const QString &name() const { return m_workspace.name; }
    bool isActive() const { return m_isActive; }
    // animated: the details slide open or shut over openMilliseconds, easing out; else at once.
    void setExpanded(bool expanded, bool animated = false);
    bool isExpanded() const { return m_expanded; }
    void setDragging(bool dragging);
    // Lifted: the row draws its own tinted, rounded fill, opaque over the rows it passes.
    void setLifted(bool lifted);
    bool isLifted() const { return m_lifted; }
    QSize sizeHint() const override;
    QVariantAnimation *openAnimation() const { return m_openAnimation; }
    // Every part of the row a press may start a drag on.
    QList<QWidget *> grips() const;

    QLabel *handle() const { return m_handle; }
    QLineEdit *nameField() const { return m_field; }
    QWidget *filler() const { return m_filler; }
    QToolButton *chevron() const { return m_chevron; }
    // None while collapsed.
    DeskMetadataRow *metadata() const { return m_metadata; }

    // Asked for before the model renames, so the list can move this row to the new name.
    std::function<void(const QString &oldName, const QString &newName)> onRenaming;
    std::function<void()> toggleExpanded;
    // The row's height changed while its details open or close.
    std::function<void()> onHeightChanged;

    // Runs the rename of the typed name: nothing when it is the stored name but for blanks.
    void commitRename();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitField();
    void showChevron();
    void setOpenness(double openness);
    void placeDetails();

    const SettingsContext &m_context;
    Workspace m_workspace;
    bool m_isActive;
    // Whether update() has shown the desktop yet, and whether it is the screenshot collection.
    bool m_shown = false;
    bool m_isCollection = false;
    bool m_expanded = false;
    bool m_lifted = false;
    // 0 shut, 1 open: how much of the details' height the row shows.
    double m_openness = 0;
    QWidget *m_top;
    QLabel *m_handle;
    QLineEdit *m_field;
    QLabel *m_screenshotMark;
    QWidget *m_filler;
    QToolButton *m_chevron;
    // None while collapsed; kept while the row shuts over it.
    DeskMetadataRow *m_metadata = nullptr;
    QVariantAnimation *m_openAnimation;
};

} // namespace quorvane
