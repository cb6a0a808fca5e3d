#pragma once

#include "catalogue/catalogue.hpp"

#include <span>
#include <string_view>

// The catalogue as flat rows, in menu and button order; catalogue.cpp builds the menus from
// them. The rows live in catalogue_data.cpp, which scripts/make_catalogue_data.py writes.
namespace siacci::catalogue_data {

struct MenuRow {
    std::string_view title;
    std::string_view objectName;
    PresetKind kind;               // the kind of every preset of the menu
};

struct PresetRow {
    int menu;                      // index into menuRows()
    std::string_view family;       // submenu caption; empty for the terminal menu
    std::string_view itemName;
    std::string_view caption;
    RangeOverride range;
    bool disablesTerminalMenu;
};

// One load; the loads of a preset follow each other with buttons 1, 2, ... in order.
struct LoadRow {
    std::string_view itemName;
    int button;
    BulletLoad load;
};

std::span<const MenuRow> menuRows();
std::span<const PresetRow> presetRows();   // menu items, in menu order
std::span<const LoadRow> loadRows();       // loads, in menu order and then button order

} // namespace siacci::catalogue_data
