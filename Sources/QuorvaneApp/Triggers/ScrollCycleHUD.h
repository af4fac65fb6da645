#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// The small display of the desktop ring shown while scrolling over the status icon.
class ScrollCycleHUD {
public:
    struct Labels {
        QString previous;
        QString current;
        QString next;
        bool operator==(const Labels &) const = default;
    };

    // The three texts for the selected name; none for an index outside the ring. The ends are
    // empty unless wraps is set and the ring has at least two names.
    static std::optional<Labels> labelsFor(const QStringList &ring, int index, bool wraps);

    // Nothing for an index outside the ring.
    void show(const QStringList &ring, int index, bool wraps, int slide);
    void hide();

    const Labels &labels() const { return m_labels; }

private:
    Labels m_labels;
};

} // namespace quorvane
