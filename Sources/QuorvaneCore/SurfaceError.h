#pragma once

#include <QString>

#include <cerrno>
#include <stdexcept>

namespace quorvane {

// A failed file-system operation of a desktop surface: the system's error number (errno), a
// message naming the operation and the item by their paths (for the log), and the text for the
// user, which names only the item and its place, the system's error text last.
class SurfaceError : public std::runtime_error {
public:
    SurfaceError(int code, const QString &message, const QString &userText = {})
        : std::runtime_error(message.toStdString())
        , m_code(code)
        , m_message(message)
        , m_userText(userText.isEmpty() ? message : userText)
    {
    }

    int code() const { return m_code; }

    // Whether the failure is the item's own (its permissions, a name taken meanwhile, a name
    // too long, an item that is a mount point or in use): the item can stay where it is and
    // the others can still move. Any other failure (a folder gone, a full disk, an I/O error,
    // a read-only file system) concerns the whole folder.
    bool concernsItemOnly() const
    {
        switch (m_code) {
        case EACCES:
        case EPERM:
        case EEXIST:
        case ENOTEMPTY:
        case ENAMETOOLONG:
        case EBUSY:
        case EXDEV:
        case EISDIR:
        case ELOOP:
        case EMLINK:
        case ETXTBSY:
            return true;
        default:
            return false;
        }
    }
    const QString &message() const { return m_message; }
    const QString &userText() const { return m_userText; }

private:
    int m_code;
    QString m_message;
    QString m_userText;
};

} // namespace quorvane
