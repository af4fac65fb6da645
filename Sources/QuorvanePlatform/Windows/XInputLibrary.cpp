#include "Windows/XInputLibrary.h"

#include <QLibrary>

#include <optional>

namespace quorvane {

namespace {

template <typename Pointer>
bool resolve(QLibrary &library, const char *name, Pointer &pointer)
{
    pointer = reinterpret_cast<Pointer>(library.resolve(name));
    return pointer != nullptr;
}

std::optional<XInputLibrary> open()
{
    // Never unloaded: the connections that used the extension keep its identity.
    static QLibrary library(QStringLiteral("xcb-xinput"), 0);
    if (!library.load())
        return std::nullopt;
    XInputLibrary input;
    const bool complete = resolve(library, "xcb_input_id", input.id)
        && resolve(library, "xcb_input_xi_query_version", input.queryVersion)
        && resolve(library, "xcb_input_xi_query_version_reply", input.queryVersionReply)
        && resolve(library, "xcb_input_xi_select_events_checked", input.selectEventsChecked);
    if (!complete)
        return std::nullopt;
    return input;
}

} // namespace

const XInputLibrary *XInputLibrary::get()
{
    static const std::optional<XInputLibrary> input = open();
    return input ? &*input : nullptr;
}

} // namespace quorvane
