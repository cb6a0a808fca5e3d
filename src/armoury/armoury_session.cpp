#include "armoury/armoury_session.hpp"

namespace siacci::armoury {

ArmourySession::ArmourySession(Armoury initial, ArmouryStorage& storage)
    : m_armoury(std::move(initial)), m_storage(storage)
{
}

std::string ArmourySession::change(Armoury next)
{
    if (std::string problem = armouryProblem(next); !problem.empty())
        return problem;
    m_armoury = std::move(next);
    if (std::optional<Armoury> merged = m_storage.mergedWithSaved(m_armoury))
        m_armoury = std::move(*merged);
    std::string failure = m_storage.save(m_armoury);
    // Listeners may unsubscribe while being told: walk a copy.
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener();
    if (!failure.empty())
        return "L'armeria non è stata salvata: " + failure;
    return {};
}

int ArmourySession::subscribe(std::function<void()> listener)
{
    m_listeners[m_nextId] = std::move(listener);
    return m_nextId++;
}

void ArmourySession::unsubscribe(int id)
{
    m_listeners.erase(id);
}

} // namespace siacci::armoury
