#!/usr/bin/env python3
"""Writes src/catalogue/catalogue_data.cpp, the built-in cartridge catalogue, from the table of
loads (one load a line, tab-separated, a header line first):

    menu, submenu, item name, preset caption, button number, button caption, description,
    velocity_ms, weight_gr, bc, diameter_mm, X, Y, Z, D, rsp_factor, pir_factor, source

The menus' object names, the range overrides, the terminal-menu flag and the inert pistol item
"35 REMINGTON" (pnove9, no loads) are not in the table; they are kept here.

Usage: scripts/make_catalogue_data.py [LOADS.tsv] [OUTPUT.cpp]
(defaults: data/catalogue-loads.tsv and src/catalogue/catalogue_data.cpp of this clone).
The build does not run this script: the generated file is committed, and the test
catalogue_data_regenerates checks that it is what the script makes of the table.
"""

import csv
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
DEFAULT_TSV = os.path.join(ROOT, 'data', 'catalogue-loads.tsv')
DEFAULT_OUT = os.path.join(ROOT, 'src', 'catalogue', 'catalogue_data.cpp')

MENUS = [
    ('DATA RIFLE', 'calibririfle', 'PresetKind::Rifle'),
    ('DATA PISTOL', 'Calibripistol', 'PresetKind::Pistol'),
    ('R.I.I.-R.S.P.-P.I.R.', 'RS', 'PresetKind::Terminal'),
]

# Range overrides in metres: (zero distance, maximum distance, increment); None keeps the default.
OVERRIDES = {'cinquesei1': (70, 150, 10), 'cinquesei2': (130, 200, 10), 'cinquesei12': (170, None, None),
             'seicinque1': (220, None, None)}
OVERRIDES.update({f'cinquesei{n}': (160, None, None) for n in range(3, 7)})
OVERRIDES.update({f'cinquesei{n}': (180, None, None) for n in range(7, 10)})
OVERRIDES.update({f'nove{n}': (150, None, None) for n in range(1, 11)})
OVERRIDES.update({f'dieci{n}': (150, None, None) for n in range(1, 8)})
PISTOL_SHORT_RANGE = {f'pnove{n}' for n in range(1, 9)} | {'pquattro2', 'pquattro5', 'pquattro6', 'pquattro9'}

# The loads of the small .22 centrefire cartridges disable the terminal-ballistics menu.
DISABLES_TERMINAL_MENU = {f'cinquesei{n}' for n in range(2, 15)}

# Menu items without loads, inserted after the named item: (after, menu, submenu, item, caption).
INERT_ITEMS = [('pnove8', 'DATA PISTOL', '9 mm._.380_.357', 'pnove9', '35 REMINGTON')]

# Stored values that lost their decimal point: (item, button) -> ballistic coefficient.
BC_MENDED = {('nove4', 7): 0.316}


def override_of(item, kind):
    if kind == 'PresetKind::Pistol':
        return (0, 100, 10) if item in PISTOL_SHORT_RANGE else (0, None, 10)
    return OVERRIDES.get(item, (None, None, None))


def cxx_string(text):
    out = []
    for ch in text:
        if ch in '\\"':
            out.append('\\' + ch)
        elif ch == '\t' or ch == '\n' or ord(ch) < 0x20:
            raise ValueError(f'control character in {text!r}')
        else:
            out.append(ch)
    return '"' + ''.join(out) + '"'


def cxx_number(text):
    value = float(text)
    if value != value or value in (float('inf'), float('-inf')):
        raise ValueError(f'not a finite number: {text!r}')
    return repr(value)


def cxx_optional(value):
    return 'nullopt' if value is None else repr(float(value))


def read_loads(path):
    with open(path, encoding='utf-8', newline='') as f:
        rows = list(csv.reader(f, delimiter='\t', quoting=csv.QUOTE_NONE))
    header, rows = rows[0], rows[1:]
    if len(header) != 18:
        raise ValueError(f'expected 18 columns, found {len(header)}')
    for r in rows:
        if len(r) != 18:
            raise ValueError(f'row with {len(r)} columns: {r[:5]}')
    return rows


def build(rows):
    menu_index = {title: i for i, (title, _, _) in enumerate(MENUS)}
    presets = []          # [menu, family, item, caption]
    loads = []            # [item, button, caption, description, v, w, bc, terminal or None]
    seen = {}
    for r in rows:
        menu, family, item, caption = r[0], r[1], r[2], r[3]
        if menu not in menu_index:
            raise ValueError(f'unknown menu {menu!r}')
        if item not in seen:
            seen[item] = (menu, family, caption)
            presets.append([menu, family, item, caption])
        elif seen[item] != (menu, family, caption):
            raise ValueError(f'{item}: menu, submenu or caption differ between rows')
        button = int(r[4])
        bc = BC_MENDED.get((item, button))
        terminal = None
        if any(r[10:17]):
            terminal = [cxx_number(x) for x in r[10:17]]
        loads.append([item, button, r[5], r[6], cxx_number(r[7]), cxx_number(r[8]),
                      repr(bc) if bc is not None else cxx_number(r[9]), terminal])
    for after, menu, family, item, caption in INERT_ITEMS:
        at = next(i for i, p in enumerate(presets) if p[2] == after)
        presets.insert(at + 1, [menu, family, item, caption])
    return menu_index, presets, loads


def write(out, menu_index, presets, loads):
    w = out.write
    w('// The built-in cartridge catalogue: every menu item and every bullet load, in menu and\n'
      '// button order. Generated by scripts/make_catalogue_data.py; regenerate rather than edit.\n'
      '// Velocities in m/s, weights in grains; terminal loads also carry the bullet diameter (mm),\n'
      '// the X, Y, Z, D coefficients and the RSP and PIR shape factors.\n\n'
      '#include "catalogue/catalogue_data.hpp"\n\n'
      'namespace siacci::catalogue_data {\n'
      'namespace {\n\n'
      'using std::nullopt;\n\n'
      'constexpr MenuRow kMenus[] = {\n')
    for title, name, kind in MENUS:
        w(f'    {{{cxx_string(title)}, {cxx_string(name)}, {kind}}},\n')
    w('};\n\n'
      '// menu, submenu caption, item name, item caption,\n'
      '// {zero distance, maximum distance, increment} in metres, disables the terminal menu\n'
      'constexpr PresetRow kPresets[] = {\n')
    for menu, family, item, caption in presets:
        kind = MENUS[menu_index[menu]][2]
        zero, maximum, increment = override_of(item, kind)
        flag = 'true' if item in DISABLES_TERMINAL_MENU else 'false'
        w(f'    {{{menu_index[menu]}, {cxx_string(family)}, {cxx_string(item)}, {cxx_string(caption)}, '
          f'{{{cxx_optional(zero)}, {cxx_optional(maximum)}, {cxx_optional(increment)}}}, {flag}}},\n')
    w('};\n\n'
      '// item name, button, {caption, description, velocity, weight, bc, terminal coefficients}\n'
      'constexpr LoadRow kLoads[] = {\n')
    for item, button, caption, description, v, wt, bc, terminal in loads:
        term = '{}' if terminal is None else '{' + ', '.join(terminal) + '}'
        w(f'    {{{cxx_string(item)}, {button}, {{{cxx_string(caption)}, {cxx_string(description)}, '
          f'{v}, {wt}, {bc}, {term}}}}},\n')
    w('};\n\n'
      '} // namespace\n\n'
      'std::span<const MenuRow> menuRows() { return kMenus; }\n'
      'std::span<const PresetRow> presetRows() { return kPresets; }\n'
      'std::span<const LoadRow> loadRows() { return kLoads; }\n\n'
      '} // namespace siacci::catalogue_data\n')


def main(argv):
    tsv = argv[1] if len(argv) > 1 else DEFAULT_TSV
    target = argv[2] if len(argv) > 2 else DEFAULT_OUT
    menu_index, presets, loads = build(read_loads(tsv))
    with open(target, 'w', encoding='utf-8', newline='\n') as out:
        write(out, menu_index, presets, loads)
    print(f'{target}: {len(presets)} menu items, {len(loads)} loads')


if __name__ == '__main__':
    main(sys.argv)
