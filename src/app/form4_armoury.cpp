// The catalogue load chosen in the main window, as the armoury takes it.
#include "app/form4.hpp"

namespace siacci {

std::optional<armoury::CatalogueLoadChoice> Form4::chosenCatalogueLoad() const
{
    if (m_checkedBullet < 1 || m_checkedBullet > 10)
        return std::nullopt;
    const BulletSlot& s = m_slots[static_cast<std::size_t>(m_checkedBullet - 1)];
    if (s.description.empty() || s.velocity <= 0 || s.bc <= 0)
        return std::nullopt;
    // The slots hold metric values whatever the window shows.
    return armoury::CatalogueLoadChoice{s.description, s.velocity, s.weight, s.bc, s.sightHeight};
}

} // namespace siacci
