#include "DesktopHosts/GioFileAttributes.h"

#include <QFile>

// GLib's headers name struct members after words Qt defines as macros.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace quorvane {

GioFileAttributes::Outcome GioFileAttributes::apply(const QString &attribute, const std::vector<Change> &changes)
{
    Outcome outcome;
    const QByteArray name = attribute.toUtf8();
    for (const Change &change : changes) {
        const QByteArray path = QFile::encodeName(change.path);
        GFile *file = g_file_new_for_path(path.constData());
        GError *error = nullptr;
        const QByteArray value = change.value ? change.value->toUtf8() : QByteArray();
        const gboolean done = change.value
            ? g_file_set_attribute_string(file, name.constData(), value.constData(), G_FILE_QUERY_INFO_NOFOLLOW_SYMLINKS,
                                          nullptr, &error)
            : g_file_set_attribute(file, name.constData(), G_FILE_ATTRIBUTE_TYPE_INVALID, nullptr,
                                   G_FILE_QUERY_INFO_NOFOLLOW_SYMLINKS, nullptr, &error);
        g_object_unref(file);
        if (done)
            continue;
        const bool unsupported = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_NOT_SUPPORTED);
        const QString text = change.path + QStringLiteral(": ") + QString::fromUtf8(error ? error->message : "failed");
        g_clear_error(&error);
        if (unsupported && &change == &changes.front()) {
            outcome.unsupported = true;
            return outcome;
        }
        if (!outcome.failure)
            outcome.failure = text;
    }
    return outcome;
}

} // namespace quorvane
