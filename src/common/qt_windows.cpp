#include "common/qt_windows.hpp"

namespace siacci {

WindowRegistry::~WindowRegistry()
{
    for (auto& [id, e] : m_entries)
        delete e.window.data();
    for (QPointer<QWidget>& w : m_retired)
        delete w.data();
}

QWidget* WindowRegistry::show(WindowId id)
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end())
        return nullptr;
    Entry& e = it->second;
    // A window the user closed waits hidden for its deletion: it is not shown again.
    if (!e.window || e.window->isHidden()) {
        // The closed one may still wait for its deletion when the registry goes: it is deleted
        // with the others then, before the state it shows (it used to be left to its parent,
        // which deleted it after that state was gone).
        if (e.window)
            m_retired.push_back(e.window);
        QWidget* w = e.create();
        if (!w)
            return nullptr;
        w->setWindowFlag(Qt::Window, true);
        w->setAttribute(Qt::WA_DeleteOnClose, true);
        e.window = w;
    }
    QWidget* w = e.window;
    if (e.onShow)
        e.onShow(*w);
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void WindowRegistry::close(WindowId id)
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end() || !it->second.window)
        return;
    QPointer<QWidget> w = it->second.window;
    w->close();
    if (!w || w->isHidden())
        it->second.window = nullptr;
}

bool WindowRegistry::isOpen(WindowId id) const
{
    const QWidget* w = window(id);
    return w && w->isVisible();
}

QWidget* WindowRegistry::window(WindowId id) const
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end() || !it->second.window || it->second.window->isHidden())
        return nullptr;
    return it->second.window;
}

} // namespace siacci
