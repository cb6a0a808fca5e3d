#pragma once

#include "common/ports.hpp"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

// The one way the program creates and shows its secondary windows (and the tests theirs).
namespace siacci {

// Single-instance windows by their id: each is created when first shown, is a window of its
// own, deletes itself when closed, and the next opening creates it afresh.
class WindowRegistry {
public:
    WindowRegistry() = default;
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;
    // Deletes the windows still open, before the state they show goes away.
    ~WindowRegistry();

    // How to create window `id`, and what to do each time it is shown (a new or an open one).
    template <class W>
    void add(WindowId id, std::function<W*()> create, std::function<void(W&)> onShow = {})
    {
        Entry& e = m_entries[id];
        e.create = [create] { return static_cast<QWidget*>(create()); };
        e.onShow = {};
        if (onShow)
            e.onShow = [onShow](QWidget& w) { onShow(static_cast<W&>(w)); };
    }

    // Creates the window when none is open, shows it and brings it forward; null for an id
    // that was never added.
    QWidget* show(WindowId id);
    // Closes the window; a later show creates a new one, even before Qt has deleted this one.
    void close(WindowId id);
    bool isOpen(WindowId id) const;
    // The open window, or null.
    QWidget* window(WindowId id) const;
    template <class W> W* window(WindowId id) const { return dynamic_cast<W*>(window(id)); }

private:
    struct Entry {
        std::function<QWidget*()> create;
        std::function<void(QWidget&)> onShow;
        QPointer<QWidget> window;
    };
    std::map<WindowId, Entry> m_entries;
    std::vector<QPointer<QWidget>> m_retired; // closed, replaced, perhaps not yet deleted
};

} // namespace siacci
