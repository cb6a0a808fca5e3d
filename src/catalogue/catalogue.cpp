#include "catalogue/catalogue.hpp"

#include "catalogue/catalogue_data.hpp"

#include <cassert>
#include <unordered_map>

namespace siacci {
namespace {

// Builds the three menus from the flat rows: a new family starts wherever the submenu caption
// changes within a menu, and each load joins the preset of its item name.
std::vector<CatalogueMenu> buildMenus()
{
    using namespace catalogue_data;
    std::vector<CatalogueMenu> menus;
    for (const MenuRow& m : menuRows())
        menus.push_back({m.title, m.objectName, {}});

    struct Place { std::size_t menu, family, preset; };
    std::unordered_map<std::string_view, Place> places;
    for (const PresetRow& p : presetRows()) {
        CatalogueMenu& menu = menus.at(static_cast<std::size_t>(p.menu));
        if (menu.families.empty() || menu.families.back().caption != p.family)
            menu.families.push_back({p.family, {}});
        CartridgeFamily& family = menu.families.back();
        family.presets.push_back({p.itemName, p.caption, menuRows()[static_cast<std::size_t>(p.menu)].kind,
                                  {}, p.range, p.disablesTerminalMenu});
        [[maybe_unused]] const bool fresh =
            places.emplace(p.itemName, Place{static_cast<std::size_t>(p.menu), menu.families.size() - 1,
                                             family.presets.size() - 1})
                .second;
        assert(fresh && "two menu items with one name");
    }

    for (const LoadRow& l : loadRows()) {
        const Place& at = places.at(l.itemName);
        CartridgePreset& preset = menus[at.menu].families[at.family].presets[at.preset];
        assert(l.button == static_cast<int>(preset.loads.size()) + 1 && "loads out of button order");
        preset.loads.push_back(l.load.load());
    }
    return menus;
}

std::unordered_map<std::string_view, const CartridgePreset*> buildIndex()
{
    std::unordered_map<std::string_view, const CartridgePreset*> index;
    for (const CatalogueMenu& menu : catalogueMenus())
        for (const CartridgeFamily& family : menu.families)
            for (const CartridgePreset& preset : family.presets)
                index.emplace(preset.itemName, &preset);
    return index;
}

} // namespace

const std::vector<CatalogueMenu>& catalogueMenus()
{
    static const std::vector<CatalogueMenu> menus = buildMenus();
    return menus;
}

const CartridgePreset* findPreset(std::string_view itemName)
{
    static const auto index = buildIndex();
    const auto found = index.find(itemName);
    return found == index.end() ? nullptr : found->second;
}

} // namespace siacci
