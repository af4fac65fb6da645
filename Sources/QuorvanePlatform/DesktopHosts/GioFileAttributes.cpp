#include "DesktopHosts/GioFileAttributes.h"

#include "Session/GioLibrary.h"

#include <QFile>

namespace quorvane {

GioFileAttributes::Outcome GioFileAttributes::apply(const QString &attribute, const std::vector<Change> &changes)
{
    Outcome outcome;
    const GioLibrary *gio = GioLibrary::get();
    if (!gio) {
        outcome.unsupported = true;
        return outcome;
    }
    const QByteArray name = attribute.toUtf8();
    for (const Change &change : changes) {
        const QByteArray path = QFile::encodeName(change.path);
        GFile *file = gio->fileNewForPath(path.constData());
        GError *error = nullptr;
        const QByteArray value = change.value ? change.value->toUtf8() : QByteArray();
        const gboolean done = change.value
            ? gio->fileSetAttributeString(file, name.constData(), value.constData(), G_FILE_QUERY_INFO_NOFOLLOW_SYMLINKS,
                                          nullptr, &error)
            : gio->fileSetAttribute(file, name.constData(), G_FILE_ATTRIBUTE_TYPE_INVALID, nullptr,
                                    G_FILE_QUERY_INFO_NOFOLLOW_SYMLINKS, nullptr, &error);
        gio->objectUnref(file);
        if (done)
            continue;
        const bool unsupported = g_error_matches(error, gio->ioErrorQuark(), G_IO_ERROR_NOT_SUPPORTED);
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
