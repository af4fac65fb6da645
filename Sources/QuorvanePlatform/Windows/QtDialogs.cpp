#include "Windows/QtDialogs.h"

#include "Windows/AlertLook.h"
#include "Windows/LiteralText.h"
#include "Windows/PortalFileChooser.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

#include <memory>

namespace quorvane {

namespace {

QMessageBox::ButtonRole roleOf(ButtonRole role)
{
    switch (role) {
    case ButtonRole::cancel:
        return QMessageBox::RejectRole;
    case ButtonRole::destructive:
        return QMessageBox::DestructiveRole;
    case ButtonRole::normal:
        break;
    }
    return QMessageBox::AcceptRole;
}

// The folder a chooser opens in: the one asked for or, when it is not made yet, the nearest one
// above it that exists; the home folder when none is asked for or none exists.
QString startFolder(const QString &asked)
{
    QString start = asked;
    while (!start.isEmpty() && !QFileInfo(start).isDir()) {
        const QString up = QFileInfo(start).absolutePath();
        start = up == start ? QString() : up;
    }
    return start.isEmpty() ? QDir::homePath() : start;
}

// Leaves the listed items out of a chooser of Qt's own.
class HiddenItemsFilter final : public QSortFilterProxyModel {
public:
    HiddenItemsFilter(const QStringList &hidden, QObject *parent)
        : QSortFilterProxyModel(parent)
    {
        for (const QString &path : hidden)
            m_hidden.insert(QDir::cleanPath(path));
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!files)
            return true;
        return !m_hidden.contains(QDir::cleanPath(files->filePath(files->index(row, 0, parent))));
    }

private:
    QSet<QString> m_hidden;
};

void prepareModal(QWidget *dialog)
{
    dialog->setAttribute(Qt::WA_DeleteOnClose);
}

// open() makes a dialog modal to its parent window; without one it blocks the whole
// application, still without a loop of its own.
void showModal(QDialog *dialog, QWidget *parent)
{
    if (parent) {
        dialog->open();
    } else {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->show();
    }
}

// Shows a file chooser as showModal does and answers its first chosen item, or none when it
// was cancelled or left empty.
void showChooser(QFileDialog *dialog, QWidget *parent, std::function<void(std::optional<QString>)> chosen)
{
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, chosen = std::move(chosen)](int result) {
        const QStringList files = dialog->selectedFiles();
        if (chosen)
            chosen(result == QDialog::Accepted && !files.isEmpty() ? std::optional<QString>(files.first()) : std::nullopt);
    });
    showModal(dialog, parent);
}

constexpr const char *formDialogProperty = "quorvaneFormDialog";

// Room for the item chooser's columns and its sidebar at once.
constexpr QSize itemChooserSize(780, 480);

// Files and folders by their type's icon in the icon theme (a folder, an image, a text...), the
// style's own where the theme has none.
class ThemedIconProvider final : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo &info) const override
    {
        if (info.isDir()) {
            const QIcon folder = QIcon::fromTheme(QStringLiteral("folder"));
            return folder.isNull() ? QFileIconProvider::icon(info) : folder;
        }
        const QMimeType type = m_types.mimeTypeForFile(info);
        for (const QString &name : {type.iconName(), type.genericIconName(), QStringLiteral("text-x-generic")}) {
            const QIcon themed = QIcon::fromTheme(name);
            if (!themed.isNull())
                return themed;
        }
        return QFileIconProvider::icon(info);
    }

private:
    QMimeDatabase m_types;
};

QAbstractFileIconProvider *themedIcons()
{
    static ThemedIconProvider provider;
    return &provider;
}

// Tells each time the watched window becomes the active one.
class ActivationFilter final : public QObject {
public:
    ActivationFilter(std::function<void()> activated, QObject *parent)
        : QObject(parent)
        , m_activated(std::move(activated))
    {
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::WindowActivate && m_activated)
            m_activated();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_activated;
};

} // namespace

namespace {

// Which buttons Return and Escape (or closing) stand for.
enum class DefaultButton {
    firstPlain,
    first
};

QMessageBox *questionBox(QWidget *parent, const Question &question, DefaultButton policy,
                         std::function<void(int)> answer)
{
    auto *box = new QMessageBox(parent);
    prepareModal(box);
    box->setWindowTitle(question.title.isEmpty() ? QApplication::applicationDisplayName() : question.title);
    box->setText(question.message);
    box->setInformativeText(question.informativeText);
    // Names in a question are the user's or a file's: shown as written, never as markup.
    showPlainTexts(*box);
    lookLikeAlert(*box, question.style);
    std::vector<DialogButton> buttons = question.buttons;
    if (buttons.empty())
        buttons.push_back({QCoreApplication::translate("Dialogs", "OK"), ButtonRole::normal});
    std::vector<QPushButton *> made;
    int defaultIndex = policy == DefaultButton::first ? 0 : -1;
    int cancelIndex = -1;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        made.push_back(box->addButton(literalTitle(buttons[i].title), roleOf(buttons[i].role)));
        if (buttons[i].role == ButtonRole::normal && defaultIndex < 0)
            defaultIndex = int(i);
        if (buttons[i].role == ButtonRole::cancel && cancelIndex < 0)
            cancelIndex = int(i);
    }
    if (defaultIndex >= 0)
        box->setDefaultButton(made[std::size_t(defaultIndex)]);
    // Escape and closing the box answer the cancel button, else the default one (a question
    // whose first button is the default: the last one, never the action it proposes).
    int escapeIndex = cancelIndex;
    if (escapeIndex < 0)
        escapeIndex = policy == DefaultButton::first ? int(made.size()) - 1 : std::max(defaultIndex, 0);
    box->setEscapeButton(made[std::size_t(escapeIndex)]);
    QObject::connect(box, &QMessageBox::finished, box, [box, made, escapeIndex, answer = std::move(answer)] {
        int chosen = escapeIndex;
        for (std::size_t i = 0; i < made.size(); ++i) {
            if (box->clickedButton() == made[i])
                chosen = int(i);
        }
        if (answer)
            answer(chosen);
    });
    return box;
}

} // namespace

void QtDialogs::ask(QWidget *parent, const Question &question, std::function<void(int)> answer)
{
    showModal(questionBox(parent, question, DefaultButton::firstPlain, std::move(answer)), parent);
}

void QtDialogs::askModal(QWidget *parent, const Question &question, std::function<void(int)> answer)
{
    QMessageBox *box = questionBox(parent, question, DefaultButton::first, std::move(answer));
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
}

void QtDialogs::askText(QWidget *parent, const Question &question, std::function<void(int, const QString &)> answer)
{
    auto *dialog = new QDialog(parent);
    prepareModal(dialog);
    dialog->setWindowTitle(question.title.isEmpty() ? QApplication::applicationDisplayName() : question.title);
    auto *column = new QVBoxLayout(dialog);
    auto *message = new QLabel(question.message, dialog);
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    column->addWidget(message);
    if (!question.informativeText.isEmpty()) {
        auto *informative = new QLabel(question.informativeText, dialog);
        informative->setTextFormat(Qt::PlainText);
        informative->setWordWrap(true);
        column->addWidget(informative);
    }
    auto *field = new QLineEdit(dialog);
    field->setAccessibleName(question.message);
    if (question.field)
        field->setPlaceholderText(question.field->placeholder);
    column->addWidget(field);
    std::vector<DialogButton> buttons = question.buttons;
    if (buttons.empty())
        buttons.push_back({QCoreApplication::translate("Dialogs", "OK"), ButtonRole::normal});
    int defaultIndex = -1;
    int cancelIndex = -1;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].role == ButtonRole::normal && defaultIndex < 0)
            defaultIndex = int(i);
        if (buttons[i].role == ButtonRole::cancel && cancelIndex < 0)
            cancelIndex = int(i);
    }
    // Escape and closing answer the cancel button, else the default one.
    auto chosen = std::make_shared<int>(cancelIndex >= 0 ? cancelIndex : std::max(defaultIndex, 0));
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto *button = new QPushButton(literalTitle(buttons[i].title), dialog);
        button->setAutoDefault(false);
        button->setDefault(int(i) == defaultIndex);
        row->addWidget(button);
        QObject::connect(button, &QPushButton::clicked, dialog, [dialog, chosen, index = int(i)] {
            *chosen = index;
            dialog->accept();
        });
    }
    column->addLayout(row);
    QObject::connect(dialog, &QDialog::finished, dialog, [field, chosen, answer = std::move(answer)] {
        if (answer)
            answer(*chosen, field->text());
    });
    field->setFocus();
    showModal(dialog, parent);
}

void QtDialogs::presentForm(QWidget *parent, QWidget *form, std::function<void()> closed)
{
    auto *dialog = new QDialog(parent);
    prepareModal(dialog);
    dialog->setWindowTitle(form->windowTitle());
    auto *layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
    form->setProperty(formDialogProperty, QVariant::fromValue<QObject *>(dialog));
    QObject::connect(dialog, &QDialog::finished, dialog, [closed = std::move(closed)] {
        if (closed)
            closed();
    });
    showModal(dialog, parent);
}

void QtDialogs::dismissForm(QWidget *form)
{
    if (!form)
        return;
    if (auto *dialog = qobject_cast<QDialog *>(form->property(formDialogProperty).value<QObject *>()))
        dialog->done(QDialog::Accepted);
}

namespace {

void askPortal(PortalFileChooser::Kind kind, QWidget *parent, const ChooserOptions &options,
               std::function<void(std::optional<QString>)> chosen)
{
    ChooserOptions asked = options;
    asked.directory = startFolder(options.directory);
    auto shared = std::make_shared<std::function<void(std::optional<QString>)>>(std::move(chosen));
    QPointer<QWidget> owner(parent);
    PortalFileChooser::open(
        kind, parent, asked,
        [shared](std::optional<QString> path) {
            if (*shared)
                (*shared)(std::move(path));
        },
        [kind, owner, options, shared] {
            // No portal answered: Qt's own chooser, over the window if it is still there.
            if (kind == PortalFileChooser::Kind::folder)
                QtDialogs().chooseFolder(owner.data(), options, *shared);
            else
                QtDialogs().chooseFile(owner.data(), options, *shared);
        });
}

} // namespace

bool QtDialogs::portalChooser()
{
    if (!m_portalChosen)
        m_portalChosen = m_portalChooser && m_portalChooser();
    return *m_portalChosen;
}

void QtDialogs::chooseFolder(QWidget *parent, const ChooserOptions &options,
                             std::function<void(std::optional<QString>)> chosen)
{
    if (portalChooser()) {
        askPortal(PortalFileChooser::Kind::folder, parent, options, std::move(chosen));
        return;
    }
    auto *dialog = new QFileDialog(parent, options.title, startFolder(options.directory));
    prepareModal(dialog);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setOption(QFileDialog::ReadOnly, false);
    if (!options.acceptLabel.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, literalTitle(options.acceptLabel));
    showChooser(dialog, parent, std::move(chosen));
}

void QtDialogs::chooseFile(QWidget *parent, const ChooserOptions &options,
                           std::function<void(std::optional<QString>)> chosen)
{
    if (portalChooser()) {
        askPortal(PortalFileChooser::Kind::file, parent, options, std::move(chosen));
        return;
    }
    auto *dialog = new QFileDialog(parent, options.title, startFolder(options.directory));
    prepareModal(dialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (!options.acceptLabel.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, options.acceptLabel);
    if (!options.nameFilters.isEmpty())
        dialog->setNameFilters(options.nameFilters);
    showChooser(dialog, parent, std::move(chosen));
}

namespace {

// Takes a folder as well as a file: accepting with a folder selected chooses the folder
// instead of opening it (a double click still opens it). GTK's chooser and the portal's choose
// files or folders, never either in one, so a pin is chosen in Qt's own.
class ItemDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void showEvent(QShowEvent *event) override
    {
        QFileDialog::showEvent(event);
        // The names take the room the other columns leave; those are as wide as their contents.
        if (auto *details = findChild<QTreeView *>(QStringLiteral("treeView"))) {
            QHeaderView *header = details->header();
            header->setStretchLastSection(false);
            header->setSectionResizeMode(0, QHeaderView::Stretch);
            for (int column = 1; column < header->count(); ++column)
                header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }

public:
    void accept() override
    {
        const QStringList files = selectedFiles();
        if (files.size() == 1 && QFileInfo(files.first()).isDir()) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

} // namespace

void QtDialogs::chooseItem(QWidget *parent, const ChooserOptions &options,
                           std::function<void(std::optional<QString>)> chosen)
{
    // Where no platform theme names file icons, those of the icon theme every desktop installs
    // stand in, never the style's raster pictures.
    if (QIcon::fromTheme(QStringLiteral("folder")).isNull() && QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    auto *dialog = new ItemDialog(parent, options.title, startFolder(options.directory));
    prepareModal(dialog);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setIconProvider(themedIcons());
    dialog->setViewMode(QFileDialog::Detail);
    dialog->resize(itemChooserSize);
    if (!options.message.isEmpty()) {
        // Under the buttons, across the whole dialog.
        if (auto *grid = qobject_cast<QGridLayout *>(dialog->layout())) {
            auto *message = new QLabel(options.message, dialog);
            message->setObjectName(QStringLiteral("chooserMessage"));
            message->setTextFormat(Qt::PlainText);
            message->setWordWrap(true);
            grid->addWidget(message, grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    if (!options.hiddenItems.isEmpty())
        dialog->setProxyModel(new HiddenItemsFilter(options.hiddenItems, dialog));
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (!options.acceptLabel.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, literalTitle(options.acceptLabel));
    showChooser(dialog, parent, std::move(chosen));
}

void QtDialogs::chooseColor(QWidget *parent, const QColor &initial, std::function<void(const QColor &)> picked)
{
    auto *dialog = new QColorDialog(initial, parent);
    prepareModal(dialog);
    auto shared = std::make_shared<std::function<void(const QColor &)>>(std::move(picked));
    QObject::connect(dialog, &QColorDialog::currentColorChanged, dialog, [shared](const QColor &color) {
        if (*shared)
            (*shared)(color);
    });
    QObject::connect(dialog, &QColorDialog::colorSelected, dialog, [shared](const QColor &color) {
        if (*shared)
            (*shared)(color);
    });
    showModal(dialog, parent);
}

void QtDialogs::pickColor(QWidget *parent, const QColor &initial, std::function<void(std::optional<QColor>)> chosen)
{
    auto *dialog = new QColorDialog(initial, parent);
    prepareModal(dialog);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, chosen = std::move(chosen)](int result) {
        if (!chosen)
            return;
        if (result == QDialog::Accepted)
            chosen(dialog->selectedColor());
        else
            chosen(std::nullopt);
    });
    showModal(dialog, parent);
}

void QtDialogs::showColorPanel(QWidget *parent, const QColor &initial, std::function<void(const QColor &)> changed,
                               std::function<void()> activated)
{
    auto *dialog = new QColorDialog(initial, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::NonModal);
    auto shared = std::make_shared<std::function<void(const QColor &)>>(std::move(changed));
    auto report = [shared](const QColor &color) {
        if (*shared)
            (*shared)(color);
    };
    QObject::connect(dialog, &QColorDialog::currentColorChanged, dialog, report);
    QObject::connect(dialog, &QColorDialog::colorSelected, dialog, report);
    dialog->installEventFilter(new ActivationFilter(std::move(activated), dialog));
    dialog->show();
}

} // namespace quorvane
