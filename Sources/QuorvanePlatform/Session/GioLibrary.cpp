#include "Session/GioLibrary.h"

#include <QLibrary>

#include <optional>

namespace quorvane {

namespace {

template <typename Function>
bool resolve(QLibrary &library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

std::optional<GioLibrary> open()
{
    // Never unloaded: GLib's type system does not survive its libraries going away.
    static QLibrary library(QStringLiteral("gio-2.0"), 0);
    if (!library.load())
        return std::nullopt;
    GioLibrary gio;
    const bool complete = resolve(library, "g_file_new_for_path", gio.fileNewForPath)
        && resolve(library, "g_file_set_attribute", gio.fileSetAttribute)
        && resolve(library, "g_file_set_attribute_string", gio.fileSetAttributeString)
        && resolve(library, "g_io_error_quark", gio.ioErrorQuark) && resolve(library, "g_object_unref", gio.objectUnref)
        && resolve(library, "g_settings_schema_source_get_default", gio.settingsSchemaSourceGetDefault)
        && resolve(library, "g_settings_schema_source_lookup", gio.settingsSchemaSourceLookup)
        && resolve(library, "g_settings_schema_unref", gio.settingsSchemaUnref);
    if (!complete)
        return std::nullopt;
    return gio;
}

} // namespace

const GioLibrary *GioLibrary::get()
{
    static const std::optional<GioLibrary> gio = open();
    return gio ? &*gio : nullptr;
}

} // namespace quorvane
