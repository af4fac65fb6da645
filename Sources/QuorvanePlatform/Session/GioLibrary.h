#pragma once

// GLib's headers name struct members after words Qt defines as macros.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

namespace quorvane {

// The few calls of GIO the application makes (file metadata for a desktop host's icon
// positions, the installed GSettings schemas), looked up in the library the first time one is
// needed. Linked, GIO and what it pulls in (GObject, the mount and SELinux libraries) would be
// loaded and relocated at every start for work that many sessions never ask for.
// Safe to call from any thread; the library, once opened, stays for the life of the process.
struct GioLibrary {
    GFile *(*fileNewForPath)(const char *path) = nullptr;
    gboolean (*fileSetAttribute)(GFile *file, const char *attribute, GFileAttributeType type, gpointer value,
                                 GFileQueryInfoFlags flags, GCancellable *cancellable, GError **error) = nullptr;
    gboolean (*fileSetAttributeString)(GFile *file, const char *attribute, const char *value,
                                       GFileQueryInfoFlags flags, GCancellable *cancellable, GError **error) = nullptr;
    GQuark (*ioErrorQuark)() = nullptr;
    void (*objectUnref)(gpointer object) = nullptr;
    GSettingsSchemaSource *(*settingsSchemaSourceGetDefault)() = nullptr;
    GSettingsSchema *(*settingsSchemaSourceLookup)(GSettingsSchemaSource *source, const char *schema,
                                                   gboolean recursive) = nullptr;
    void (*settingsSchemaUnref)(GSettingsSchema *schema) = nullptr;

    // The library with every call found; none when it cannot be opened or lacks one of them.
    static const GioLibrary *get();
};

} // namespace quorvane
