#pragma once

#include "common/shot.hpp"

#include <optional>
#include <string_view>
#include <vector>

// The built-in catalogue of factory loads: three menus of the main window, their calibre
// submenus, the cartridges (presets) and their bullets. Fixed data compiled into the program.
namespace siacci {

enum class PresetKind { Rifle, Pistol, Terminal };

// One bullet of a preset; the n-th load of a preset belongs to button Option n.
struct BulletLoad {
    std::string_view caption;      // the button's text, spacing included
    std::string_view description;  // shown in Text10, printed, saved in shot files
    double velocity_ms = 0;
    double weight_gr = 0;
    double bc = 0;
    TerminalCoefficients terminal; // set for the loads of the terminal menu only
};

// Values in metres applied after the default range values of the fill.
struct RangeOverride {
    std::optional<double> zeroDistance;
    std::optional<double> maxDistance;
    std::optional<double> increment;
};

// One leaf menu item.
struct CartridgePreset {
    std::string_view itemName;     // the menu item's object name: cinquesei1, tre11, RS38b ...
    std::string_view caption;      // the menu item's text
    PresetKind kind = PresetKind::Rifle;
    std::vector<BulletLoad> loads; // 0 (only pnove9) to 10, in button order
    RangeOverride range;
    bool disablesTerminalMenu = false;
};

// One calibre submenu, or the terminal menu as a whole (empty caption).
struct CartridgeFamily {
    std::string_view caption;      // "5,6_.224" ... ; empty for the terminal menu
    std::vector<CartridgePreset> presets;
};

// One of the three catalogue menus of the main window.
struct CatalogueMenu {
    std::string_view title;        // "DATA RIFLE", "DATA PISTOL", "R.I.I.-R.S.P.-P.I.R."
    std::string_view objectName;   // calibririfle, Calibripistol, RS
    std::vector<CartridgeFamily> families;
};

// The three menus in menu-bar order.
const std::vector<CatalogueMenu>& catalogueMenus();

// The preset of a menu item, or nullptr for an unknown name.
const CartridgePreset* findPreset(std::string_view itemName);

} // namespace siacci
