#include "common/qt_windows.hpp"

namespace siacci {

WindowRegistry::~WindowRegistry()
{
    for (auto& [id, e] : m_entries)
        delete e.window.data();
}

QWidget* WindowRegistry::show(WindowId id)
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end())
        return nullptr;
    Entry& e = it->second;
    // A window the user closed waits hidden for its deletion: it is not shown again.
    if (!e.window || e.window->isHidden()) {
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
