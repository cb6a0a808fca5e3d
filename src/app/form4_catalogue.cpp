// The catalogue's side of the main window: filling the bullet buttons from a preset, and
// choosing a bullet.
#include "app/form4.hpp"

#include "catalogue/catalogue.hpp"
#include "common/units.hpp"

#include <cmath>

namespace siacci {

void Form4::presetChosen(const CartridgePreset& preset)
{
    if (preset.loads.empty())
        return; // an item without loads changes nothing
    // The flagged presets disable the terminal-ballistics menu; any other preset enables it
    // again, so that its loads are not lost until the program is restarted.
    m_terminalMenuEnabled = !preset.disablesTerminalMenu;

    if (preset.kind == PresetKind::Terminal)
        rsfunction();
    else
        chiamata();
    if (preset.kind == PresetKind::Pistol)
        for (auto& s : m_slots)
            s.sightHeight = 0;

    const int count = static_cast<int>(preset.loads.size());
    for (int n = 0; n < count && n < 10; ++n) {
        const BulletLoad& load = preset.loads[static_cast<std::size_t>(n)];
        BulletSlot& slot = m_slots[static_cast<std::size_t>(n)];
        m_bulletCaptions[static_cast<std::size_t>(n)] = std::string(load.caption);
        slot.description = std::string(load.description);
        slot.velocity = load.velocity_ms;
        slot.weight = load.weight_gr;
        slot.bc = load.bc;
        if (preset.kind == PresetKind::Terminal)
            slot.terminal = load.terminal;
    }
    for (int n = count; n < 10; ++n)
        m_bulletVisible[static_cast<std::size_t>(n)] = false;

    spunta();
    if (preset.range.zeroDistance)
        m_shot.zeroDistance = *preset.range.zeroDistance;
    if (preset.range.maxDistance)
        m_shot.maxDistance = *preset.range.maxDistance;
    if (preset.range.increment)
        m_shot.increment = *preset.range.increment;
}

void Form4::bulletFocused(int button)
{
    // Option1 and Option2 choose their bullet when they receive the focus.
    if (button == 1 || button == 2)
        selectBullet(button);
}

void Form4::bulletClicked(int button)
{
    if (button == 1)
        m_focusRequest = FocusTarget::Text10; // so that Option1 can receive the focus again
    else if (button >= 3)
        selectBullet(button);
}

void Form4::selectBullet(int button)
{
    if (button < 1 || button > 10 || !m_bulletVisible[static_cast<std::size_t>(button - 1)])
        return;
    const BulletSlot& slot = m_slots[static_cast<std::size_t>(button - 1)];
    m_checkedBullet = button;
    m_shot.description = slot.description;
    m_shot.weight = slot.weight;
    m_shot.bc = slot.bc;
    m_shot.terminal = slot.terminal;
    switch (m_mode) {
    case TableMode::Imperial:
        m_shot.velocity = std::trunc(slot.velocity * kFeetPerMetreVelocity);
        m_shot.sightHeight = std::trunc(slot.sightHeight * 100 * kInchesPerCentimetre) / 100;
        break;
    case TableMode::Metric:
        m_shot.velocity = slot.velocity;
        m_shot.sightHeight = slot.sightHeight;
        break;
    case TableMode::Terminal:
        m_shot.velocity = slot.velocity;
        break;
    }
    Calcola();
    if (inputsComputable())
        startTableOfMode();
}

} // namespace siacci
