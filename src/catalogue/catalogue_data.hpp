#pragma once

#include "catalogue/catalogue.hpp"

#include <cstddef>
#include <span>
#include <string_view>

// The catalogue as flat rows, in menu and button order; catalogue.cpp builds the menus from
// them. The rows live in catalogue_data.cpp, which scripts/make_catalogue_data.py writes.
namespace siacci::catalogue_data {

// A text kept inside its row, up to `Capacity` bytes (a longer one does not compile). The rows
// hold no pointer: in a position-independent program every pointer of a constant table is
// rewritten at start-up, and each of its pages copied, which for 722 loads was a good part of
// siacci-cli's start whatever the command. Without pointers the table stays on disk until
// the catalogue is read.
template <std::size_t Capacity>
struct RowText {
    static_assert(Capacity < 256, "the size is kept in one byte");
    char bytes[Capacity] = {};
    unsigned char size = 0;

    template <std::size_t N>
    consteval RowText(const char (&literal)[N]) : size(static_cast<unsigned char>(N - 1))
    {
        static_assert(N - 1 <= Capacity, "a catalogue text longer than its row's room");
        for (std::size_t i = 0; i + 1 < N; ++i)
            bytes[i] = literal[i];
    }
    // The text where it lies, in the constant table (static storage: views of it never dangle).
    constexpr operator std::string_view() const { return {bytes, size}; }
};

struct MenuRow {
    RowText<24> title;
    RowText<24> objectName;
    PresetKind kind;               // the kind of every preset of the menu
};

struct PresetRow {
    int menu;                      // index into menuRows()
    RowText<32> family;            // submenu caption; empty for the terminal menu
    RowText<24> itemName;
    RowText<64> caption;
    RangeOverride range;
    bool disablesTerminalMenu;
};

// A BulletLoad as a row holds it.
struct LoadData {
    RowText<48> caption;
    RowText<80> description;
    double velocity_ms;
    double weight_gr;
    double bc;
    TerminalCoefficients terminal;

    BulletLoad load() const { return {caption, description, velocity_ms, weight_gr, bc, terminal}; }
};

// One load; the loads of a preset follow each other with buttons 1, 2, ... in order.
struct LoadRow {
    RowText<24> itemName;
    int button;
    LoadData load;
};

std::span<const MenuRow> menuRows();
std::span<const PresetRow> presetRows();   // menu items, in menu order
std::span<const LoadRow> loadRows();       // loads, in menu order and then button order

} // namespace siacci::catalogue_data
