#include "Session/XSettings.h"

#include "Windows/X11Connection.h"

#include <QtEndian>

#include <cstdlib>

namespace quorvane::xsettings {

namespace {

constexpr int stringType = 1;
constexpr int integerType = 0;
constexpr int colourType = 2;
constexpr qsizetype largestProperty = 1024 * 1024;

qsizetype padded(qsizetype length) { return (length + 3) & ~qsizetype(3); }

// Reads the property's numbers in the byte order its first byte names.
class Reader {
public:
    Reader(const QByteArray &data)
        : m_data(data)
        , m_bigEndian(!data.isEmpty() && data.at(0) == 1)
    {
    }
    bool has(qsizetype bytes) const { return bytes >= 0 && m_at + bytes <= m_data.size(); }
    void skip(qsizetype bytes) { m_at += bytes; }
    quint8 card8() { return quint8(m_data.at(m_at++)); }
    quint16 card16()
    {
        const auto *at = reinterpret_cast<const uchar *>(m_data.constData() + m_at);
        m_at += 2;
        return m_bigEndian ? qFromBigEndian<quint16>(at) : qFromLittleEndian<quint16>(at);
    }
    quint32 card32()
    {
        const auto *at = reinterpret_cast<const uchar *>(m_data.constData() + m_at);
        m_at += 4;
        return m_bigEndian ? qFromBigEndian<quint32>(at) : qFromLittleEndian<quint32>(at);
    }
    QByteArray bytes(qsizetype length)
    {
        const QByteArray taken = m_data.mid(m_at, length);
        m_at += padded(length);
        return taken;
    }

private:
    const QByteArray &m_data;
    bool m_bigEndian;
    qsizetype m_at = 0;
};

} // namespace

std::optional<QString> stringSetting(const QByteArray &data, const QByteArray &name)
{
    Reader reader(data);
    if (!reader.has(12))
        return std::nullopt;
    reader.skip(8); // byte order, padding, serial
    const quint32 count = reader.card32();
    for (quint32 i = 0; i < count; ++i) {
        if (!reader.has(4))
            return std::nullopt;
        const int type = reader.card8();
        reader.skip(1);
        const quint16 nameLength = reader.card16();
        if (!reader.has(padded(nameLength) + 4))
            return std::nullopt;
        const QByteArray settingName = reader.bytes(nameLength);
        reader.skip(4); // last-change serial
        if (type == stringType) {
            if (!reader.has(4))
                return std::nullopt;
            const quint32 length = reader.card32();
            if (length > quint32(largestProperty) || !reader.has(padded(qsizetype(length))))
                return std::nullopt;
            const QByteArray value = reader.bytes(qsizetype(length));
            if (settingName == name)
                return QString::fromUtf8(value);
        } else if (type == integerType) {
            if (!reader.has(4))
                return std::nullopt;
            reader.skip(4);
        } else if (type == colourType) {
            if (!reader.has(8))
                return std::nullopt;
            reader.skip(8);
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

quint32 selectionAtom()
{
    if (!x11::connection())
        return 0;
    // The screen DISPLAY names (":0.1" is screen 1), 0 when it names none.
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.indexOf('.', colon < 0 ? 0 : colon);
    const QByteArray screen = dot < 0 ? QByteArray("0") : QByteArray::number(display.mid(dot + 1).toInt());
    return x11::atom("_XSETTINGS_S" + screen);
}

quint32 managerWindow()
{
    xcb_connection_t *connection = x11::connection();
    if (!connection)
        return 0;
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selectionAtom()), nullptr);
    const quint32 owner = reply ? reply->owner : 0;
    std::free(reply);
    return owner;
}

std::optional<QString> themeName()
{
    xcb_connection_t *connection = x11::connection();
    const quint32 owner = managerWindow();
    if (!connection || !owner)
        return std::nullopt;
    const xcb_atom_t property = x11::atom("_XSETTINGS_SETTINGS");
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, false, owner, property, XCB_GET_PROPERTY_TYPE_ANY, 0, largestProperty / 4),
        nullptr);
    if (!reply)
        return std::nullopt;
    const QByteArray data(static_cast<const char *>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
    std::free(reply);
    return stringSetting(data, "Net/ThemeName");
}

bool themeIsDark()
{
    const auto theme = themeName();
    return theme && theme->contains(QLatin1String("dark"), Qt::CaseInsensitive);
}

} // namespace quorvane::xsettings
