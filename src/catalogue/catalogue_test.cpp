#include "catalogue/catalogue.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The catalogue is what the user picks from: every caption must read exactly as on the menus
// and buttons (double spaces and trailing blanks included), every count and order must hold,
// and every number must be one the tables can compute with.
namespace siacci {
namespace {

struct ExpectedPreset {
    std::string_view item;
    std::string_view caption;
    int loads;
    std::vector<std::string_view> buttons;   // button captions, Option1 first
};

struct ExpectedFamily {
    std::string_view menu;
    std::string_view caption;                // empty for the terminal menu
    std::vector<ExpectedPreset> presets;
};

// Every menu item in menu order with the captions of its buttons.
const std::vector<ExpectedFamily>& expectedCatalogue()
{
    static const std::vector<ExpectedFamily> families = {
        {"DATA RIFLE", "5,6_.224", {
            {"cinquesei1", "22 LONGRIFLE", 3, {"22  HIGHT 40 grains", "22  STANDARD 40 grains",
                "22  SUBSONIC 40 grains"}},
            {"cinquesei2", "HORNETT", 4, {"40 grains SPIRE POINT", "45 grains SPITZER", "50 grains SPITZER",
                "52 grains HOLLOW POINT"}},
            {"cinquesei3", ".222REMINGTON", 7, {"40 grains SPIRE POINT", "45 grains SPITZER",
                "50 grains SPITZER", "52 grains HOLLOW POINT", "55 grains SPITZER", "55 grains FMJ",
                "70 grains SEMI SPITZER"}},
            {"cinquesei4", ".223 REMINGTON", 8, {"40 grains SPIRE POINT", "45 grains SPITZER",
                "50 grains SPITZER", "52 grains HOLLOW POINT", "55 grains SPITZER CAN", "55 grains SPITZER",
                "55 grains FMJ", "70 grains SEMI SPITZER"}},
            {"cinquesei5", ".222 REMINGTON MAGNUM", 7, {"40 grains SPIRE POINT", "45 grains SPITZER",
                "50 grains SPITZER", "52 grains HOLLOW POINT", "55 grains SPITZER", "55 grains FMJ",
                "70 grains SEMI SPITZER"}},
            {"cinquesei6", "22 PPC", 2, {"52 grains HOLLOW POINT", "55 grains SPITZER"}},
            {"cinquesei7", ".225 WINCHESTER", 7, {"40 grains SPIRE POINT", "45 grains SPITZER",
                "50 grains SPITZER", "52 grains HOLLOW POINT", "55 grains SPITZER", "55 grains FMJ",
                "70 grains SEMI SPITZER"}},
            {"cinquesei8", "22.250", 7, {"40 grains SPIRE POINT", "45 grains SPITZER", "50 grains SPITZER",
                "52 grains HOLLOW POINT", "55 grains SPITZER", "55 grains FMJ", "70 grains SEMI SPITZER"}},
            {"cinquesei9", ".220 SWIFT", 7, {"40 grains SPIRE POINT", "45 grains SPITZER", "50 grains SPITZER",
                "52 grains HOLLOW POINT", "55 grains SPITZER", "55 grains FMJ", "70 grains SEMI SPITZER"}},
            {"cinquesei10", "5,6 X 51 WOM HOFE", 2, {"70 grains SPITZER", "77 grains TS"}},
            {"cinquesei11", "5,6 X 50 MAGNUM", 2, {"50 grains TMS/VMS", "50 grains TMS/VMS R"}},
            {"cinquesei12", "5,6 X 52 R", 1, {"71 grains VMS/TMS"}},
            {"cinquesei13", "5,6 X 57", 2, {"74 grains KS/VMS", "74 grains KS/VMS R"}},
            {"cinquesei14", ".224 WEATHERBY", 5, {"55 grains Pt-Ex", "40 grains SPIRE POINT SPEER",
                "45 grains SPITZER SIERRA", "50 grains SPITZER SIERRA", "63 grains SMP SIERRA"}},
        }},
        {"DATA RIFLE", "6mm._.243", {
            {"sei1", "6mm PPC", 5, {"75 grains HOLLOW POINT", "80 grains SPITZER", "85 grains BOAT TAIL",
                "90 grains SPITZER", "90 grains FMJ"}},
            {"sei2", ".243 WINCHESTER", 8, {"75 grains HOLLOW POINT", "80 grains SPITZER", "85 grains BOAT TAIL",
                "90 grains SPITZER", "90 grains FMJd", "100 grains BOAT TAIL", "105 grains SPITZER",
                "105 grains ROUND NOSE"}},
            {"sei3", "6 mm. REMINGTON", 8, {"75 grains HOLLOW POINT", "80 grains SPITZER", "85 grains BOAT TAIL",
                "90 grains SPITZER", "90 grains FMJ", "100 grains BOAT TAIL", "105 grains SPITZER",
                "105 grains ROUND NOSE"}},
            {"sei4", ".240 WEATHERBY MAGNUM", 10, {"75 grains HOLLOW POINT", "80 grains SPITZER",
                "85 grains BOAT TAIL", "90 grains SPITZER", "90 grains FMJ", "105 grains SPITZER",
                "105 grains ROUND NOSE", "87 grains Pt-Ex", "100 grains Pt-Ex", "100 grains PARTITION"}},
            {"sei5", "6 mm. FRERES", 2, {"95 grains RWS", "100 grains RWS"}},
        }},
        {"DATA RIFLE", ".257", {
            {"duecinque1", ".257 ROBERTS", 6, {"87 grains SPITZER", "100 grains SPITZER",
                "100 grains HOLLOW POINT", "100 grains BOAT TAIL", "120 grains SPITZER", "120 grains BOAT TAIL"}},
            {"duecinque2", "25-'06 REMINGTON", 6, {"87 grains SPITZER", "100 grains SPITZER",
                "100 grains HOLLOW POINT", "100 grains BOAT TAIL", "120 grains SPITZER", "120 grains BOAT TAIL"}},
            {"duecinque3", ".257 WEATHERBY MAGNUM", 10, {"87 grains SPITZER", "100 grains SPITZER",
                "120 grains SPITZER", "120 grains BOAT TAIL", "87 grains  Pt-Ex", "100 grains Pt-Ex",
                "100 grains PARTITION", "117 grains SEMI Pt-Ex", "117 grains PARTITION", "120 grains PARTITION"}},
            {"duecinque4", ".250 SAVAGE", 6, {"87 grains SPITZER", "100 grains SPITZER",
                "100 grains HOLLOW POINT", "100 grains BOAT TAIL", "120 grains SPITZER", "120 grains BOAT TAIL"}},
        }},
        {"DATA RIFLE", "6,5 mm._.264", {
            {"seicinque1", "6,5 X 68 SCHÜLER", 3, {"93 grains RWS", "123 grammi RWS", "105 grains HIRTEMBERGER"}},
            {"seicinque2", "6,5 X 55", 2, {"120 grains Spitzer", "140 grains Spitzer"}},
            {"seicinque3", "6,5 REMINGTON MAGNUM", 2, {"120 grains Spitzer", "140 grains Spitzer"}},
            {"seicinque4", ".264 WINCHESTER MAGNUM", 2, {"120 grains Spitzer", "140 grains Spitzer"}},
            {"seicinque5", "6,5 X 57", 6, {"93 grains VM/TMS", "127 grains KS", "155 grains HMoH",
                "93 grains VM/TMS R", "155 grains HMoH R", "127 grains KS R"}},
        }},
        {"DATA RIFLE", ".270", {
            {"duesettanta1", ".270 WINCHESTER", 8, {"100 grains SPITZER", "100 grains HOLLOW POINT",
                "130 grains BOAT TAIL", "130 grains SPITZER", "130 grains GRAND SLAM", "150 grains BOAT TAIL",
                "150 grains SPITZER", "150 grains GRAND SLAM"}},
            {"duesettanta2", ".270 WEATHERBY MAGNUM", 10, {"100 grains SPITZER", "130 grains BOAT TAIL",
                "130 grains SPITZER", "150 grains BOAT TAIL", "150 grains Spitzer", "100 grains Pt-Ex",
                "130 grains Pt-Ex ", "130 grains PARTITION", "150 grains Pt-Ex", "150 grains PARTITION"}},
        }},
        {"DATA RIFLE", "7 mm._.284", {
            {"sette1", "7 mm. WEATHERBY MAGNUM 115-150 grains", 9, {"115 grains HOLLOW POINT",
                "130 grains SPITZER", "130 grains BOAT TAIL", "139 grains Pt-Ex", "140 grains PARTITION",
                "145 grains BOAT TAIL", "145 grains SPITZER", "145 grains MACTH", "150 grains Pt-Ex"}},
            {"sette2", "7 mm. WEATHERBY MAGNUM 160-175 grains", 8, {"160 grains PARTITION",
                "160 grains BOAT TAIL", "160 grains SPITZER", "160 grains MAG-TIP", "160 grains GRAND SLAM",
                "175 grains Pt-Ex", "175 grains MAG-TIP", "175 grains GRAND SLAM"}},
            {"sette3", "7 X 30 WATERS", 3, {"115 grains HOLLOW POINT", "130 grains SPITZER",
                "145 grains SPITZER"}},
            {"sette4", "7mm. '08 REMINGTON", 9, {"130 grains SPITZER", "130 grains BOAT TAIL",
                "145 grains BOAT TAIL", "145 grains SPITZER", "160 grains BOAT TAIL", "160 grains SPITZER",
                "160 grains MAG-TIP", "160 grains GRAND SLAM", "175 grains MAG-TIP"}},
            {"sette5", "7 X 57 MAUSER", 10, {"130 grains SPITZER", "130 grains BOAT TAIL",
                "145 grains BOAT TAIL", "145 grains SPITZER", "160 grains BOAT TAIL", "160 grains SPITZER",
                "160 grains MAG-TIP", "160 grains GRAND SLAM", "175 grains MAG-TIP", "175 grains GRAND SLAM"}},
            {"sette6", "7 mm EXPRESS . 280 REMINGTON", 10, {"115 grains HOLLOW POINT", "130 grains SPITZER",
                "130 grains BOAT TAIL", "145 grains BOAT TAIL", "145 grains SPITZER", "160 grains BOAT TAIL",
                "160 grains SPITZER", "160 grains MAG-TIP", "175 grains MAG-TIP", "175 grains GRAND SLAM"}},
            {"sette7", ".284 WINCHESTER", 10, {"115 grains HOLLOW POINT", "130 grains SPITZER",
                "130 grains BOAT TAI", "145 grains BOAT TAIL", "145 grains SPITZER", "160 grains BOAT TAIL",
                "160 grains SPITZER", "160 grains GRAND SLAM", "175 grains MAG-TIP", "175 grains GRAND SLAM"}},
            {"sette8", "7 mm. REMINGTON MAGNUM", 10, {"130 grains SPITZER", "130 grains BOAT TAIL",
                "145 grains BOAT TAIL", "145 grains SPITZER", "160 grains BOAT TAIL", "160 grains SPITZER",
                "160 grains MAG-TIP", "160 grains GRAND SLAM", "175 grains MAG-TIP", "175 grains GRAND SLAM"}},
            {"sette9", "7 X 64", 4, {"172 grains TMR RWS", "115 grains KS RWS", "162 grains KS RWS",
                "172 grains HMK RWS"}},
            {"sette10", "7 X 65 R", 4, {"172 grains TMR RWS", "115 grains KS RWS", "162 grains KS RWS",
                "172 grains HMK RWS"}},
            {"sette11", "7 X 66 SE VOM HOFE", 2, {"123 grains ToSto", "169 grains ToSto"}},
        }},
        {"DATA RIFLE", "7,62 mm._.300", {
            {"tre1", ".300 WEATHERBY MAGNUM 100-130 grains", 7, {"110 grains Pt-EX", "100 grains PLINKER",
                "110 grains ROUND NOSE", "110 grains SPIRE POINT", "110 grains VARMINTER",
                "130 grains HOLLOW POINT", "130 grains FLAT NOSE"}},
            {"tre2", ".300 WEATHERBY MAGNUM 150-165 grains", 10, {"150 grains PT-Ex", "150 grains PARTITION",
                "150 grains ROUND NOSE", "150 grains BOAT TAIL", "150 grains SPITZER", "150 grains MAG-TIP",
                "165 grains ROUND NOSE", "165 grains BOAT TAIL", "165 grains SPITZER", "165 grains GRAND SLAM"}},
            {"tre3", ".300 WEATHERBY MAGNUM 180-220 grains", 9, {"180 grains Pt-Ex", "180 grains ROUND NOSE",
                "180 grains BOAT TAIL", "180 grains SPITZER", "180 grains MAG-TIP", "180 grains GRAND SLAM",
                "185 grains PARTITION", "200 grains BOAT TAIL", "220 grains Semi Pt-Ex"}},
            {"tre4", "30 M1 CARBINE", 3, {"100 grains PLINKER", "110 grains ROUND NOSE", "110 grains WARMINTER"}},
            {"tre5", "7,62 X 39", 5, {"110 grains ROUND NOSE", "110 grains SPIRE POINT", "110 grains VARMINTER",
                "130 grains HOLLOW POINT", "130 grains FLAT NOSE"}},
            {"tre6", "30-30 WINCHESTER", 8, {"100 grains PLINKER", "110 grains ROUND NOSE",
                "110 grains WARMINTER", "130 grains HOLLOW POINT", "130 grains FLAT NOSE",
                "150 grains FLAT NOSE", "150 grains SPITZER", "170 grains FLAT NOSE"}},
            {"tre7", ".300 SAVAGE 100-150 grains", 10, {"100 grains PLINKER", "110 grains ROUND NOSE",
                "110 grains WARMINTER", "110 grains SPIRE POINT", "130 grains FLAT POINT",
                "130 grains HOLLOW POINT", "150 grains ROUND NOSE", "150 grains BOAT TAIL", "150 grains SPITZER",
                "150 grains MAG-TIP"}},
            {"tre8", ".300 SAVAGE 165-200 grains", 10, {"165 grains ROUND NOSE", "165 grains BOAT TAIL",
                "165 grains SPITZER", "165 grains GRAND SLAM", "180 grains ROUND NOSE", "180 grains BOAT TAIL",
                "180 grains SPITZER", "180 grains MAG-TIP", "180 grains GRAND SLAM", "200 grains SPITZER"}},
            {"tre9", ".307 WINCHESTER", 6, {"100 grains PLINKER", "110 grains ROUND NOSE",
                "110 grains WARMINTER", "130 grains FLAT NOSE", "150 grains FLAT NOSE", "170 grains FLAT NOSE"}},
            {"tre10", ".308 WINCHESTER (7,62 NATO) 100-150 grains", 10, {"100 grains PLINKER",
                "110 grains ROUND NOSE", "110 grains WARMINTER", "110 grains SPIRE POINT",
                "130 grains FLAT POINT", "130 grains HOLLOW POINT", "150 grains ROUND NOSE",
                "150 grains BOAT TAIL", "150 grains SPITZER", "150 grains MAG-TIP"}},
            {"tre11", ".308 WINCHESTER (7,62 NATO) 165-200 grains", 10, {"165 grains ROUND NOSE",
                "165 grains BOAT TAIL", "165 grains SPITZER", "165 grains GRAND SLAM", "180 grains ROUND NOSE",
                "180 grains BOAT TAIL", "180 grains SPITZER", "180 grains MAG-TIP", "180 grains GRAND SLAM",
                "200 grains SPITZER"}},
            {"tre12", "30-40 KRAG 100-150 grains", 10, {"100 grains PLINKER", "110 grains ROUND NOSE",
                "110 grains WARMINTER", "110 grains SPIRE POINT", "130 grains FLAT POINT",
                "130 grains HOLLOW POINT", "150 grains ROUND NOSE", "150 grains BOAT TAIL", "150 grains SPITZER",
                "150 grains MAG-TIP"}},
            {"tre13", "30-40 KRAG 165-200 grains", 9, {"165 grains ROUND NOSE", "165 grains BOAT TAIL",
                "165 grains SPITZER", "180 grains ROUND NOSE", "180 grains BOAT TAIL", "180 grains SPITZER",
                "180 grains MAG-TIP", "180 grains GRAND SLAM", "200 grains SPITZER"}},
            {"tre14", "30-'06 SPRINGFIELD 100-150 grains", 10, {"100 grains PLINKER", "110 grains ROUND NOSE",
                "110 grains WARMINTER", "110 grains SPIRE POINT", "130 grains FLAT POINT",
                "130 grains HOLLOW POINT", "150 grains ROUND NOSE", "150 grains BOAT TAIL", "150 grains SPITZER",
                "150 grains MAG-TIP"}},
            {"tre15", "30-'06 SPRINGFIELD 165-200 grains", 10, {"165 grains ROUND NOSE", "165 grains BOAT TAIL",
                "165 grains SPITZER", "165 grains GRAND SLAM", "180 grains ROUND NOSE", "180 grains BOAT TAIL",
                "180 grains SPITZER", "180 grains MAG-TIP", "180 grains GRAND SLAM", "200 grains SPITZER"}},
            {"tre16", ".300 H&H MAGNUM 100-150 grains", 10, {"100 grains PLINKER", "110 grains ROUND NOSE",
                "110 grains WARMINTER", "110 grains SPIRE POINT", "130 grains FLAT POINT",
                "130 grains HOLLOW POINT", "150 grains ROUND NOSE", "150 grains BOAT TAIL", "150 grains SPITZER",
                "150 grains MAG-TIP"}},
            {"tre17", ".300 H&H MAGNUM 165-200 grains", 10, {"165 grains ROUND NOSE", "165 grains BOAT TAIL",
                "165 grains SPITZER", "165 grains GRAND SLAM", "180 grains ROUND NOSE", "180 grains BOAT TAIL",
                "180 grains SPITZER", "180 grains MAG-TIP", "180 grains GRAND SLAM", "200 grains SPITZER"}},
            {"tre18", ".308 NORMA MAGNUM 100-150 grains", 10, {"100 grains PLINKER", "110 grains ROUND NOSE",
                "110 grains WARMINTER", "110 grains SPIRE POINT", "130 grains FLAT POINT",
                "130 grains HOLLOW POINT", "150 grains ROUND NOSE", "150 grains BOAT TAIL", "150 grains SPITZER",
                "150 grains MAG-TIP"}},
            {"tre19", ".308 NORMA MAGNUM 165-200 grains", 10, {"165 grains ROUND NOSE", "165 grains BOAT TAIL",
                "165 grains SPITZER", "165 grains GRAND SLAM", "180 grains ROUND NOSE", "180 grains BOAT TAIL",
                "180 grains SPITZER", "180 grains MAG-TIP", "180 grains GRAND SLAM", "200 grains SPITZER"}},
            {"tre20", "300 WINCHESTER MAGNUM 100-150 grains", 10, {"100 grains PLINKER", "110 grains ROUND NOSE",
                "110 grains WARMINTER", "110 grains SPIRE POINT", "130 grains FLAT POINT",
                "130 grains HOLLOW POINT", "150 grains ROUND NOSE", "150 grains BOAT TAIL", "150 grains SPITZER",
                "150 grains MAG-TIP"}},
            {"tre21", "300 WINCHESTER MAGNUM 165-200 grains", 10, {"165 grains ROUND NOSE",
                "165 grains BOAT TAIL", "165 grains SPITZER", "165 grains GRAND SLAM", "180 grains ROUND NOSE",
                "180 grains BOAT TAIL", "180 grains SPITZER", "180 grains MAG-TIP", "180 grains GRAND SLAM",
                "200 grains SPITZER"}},
        }},
        {"DATA RIFLE", ".303_.323", {
            {"tretre1", ".303 BRITISH", 3, {"100 grains PLINKER", "150 grains SPITZER", "180 grains ROUND NOSE"}},
            {"tretre2", "32 WINCHESTER SPECIAL (32 REMINGTON)", 1, {"170 grains FLAT NOSE"}},
            {"tretre3", "8 X 57 MAUSER", 3, {"150 grains SPITZER", "170 grains SEMI-SPITZER",
                "200 grains SPITZER"}},
            {"tretre4", "8mm/06", 3, {"150 grains SPITZER", "170 grains SEMI-SPITZER", "200 grains SPITZER"}},
            {"tretre5", "8mm REMINGTON MAGNUM", 3, {"150 grains SPITZER", "170 grains SEMI-SPITZER",
                "200 grains SPITZER"}},
            {"tretre6", "8 X 68 SHULER", 3, {"187 grains HMK RWS", "223 grains KS RWS", "196 grains VM RWS"}},
        }},
        {"DATA RIFLE", ".338_.366", {
            {"nove1", ".338 WNCHESTER MAGNUM", 3, {"200 grains SPITZER", "250 grains GRAND SLAM",
                "275 grains SEMI-SPITZER"}},
            {"nove2", ".340 WEATHERBY MAGNUM", 7, {"200 grains SPITZER", "250 grains GRAND SLAM",
                "275 grains SEMI-SPITZER", "200 grains Pt-Ex", "210 grains PARTITION", "250 grains Semi Pt-Ex",
                "250 grains PARTITION"}},
            {"nove3", ".357 MAGNUM RIFLE", 9, {"110 grains HOLLOW POINT", "125 grains SOFT POINT",
                "125 grains HOLLOW POINT", "140 grains HOLLOW POINT", "158 grains SOFT POINT",
                "158 grains HOLLOW POINT", "158 grains LEAD SWC", "158 grains LEAD RN", "180 grains FLAT NOSE"}},
            {"nove4", "35 REMINGTON", 7, {"125 grains HOLLOW POINT", "125 grains SOFT POINT",
                "140 grains HOLLOW POINT", "158 grains HOLLOW POINT", "158 grains SOFT POINT",
                "180 grains FLAT NOSE", "220 grains FLAT NOSE"}},
            {"nove5", ".350 REMINGTON MAGNUM", 6, {"125 grains HOLLOW POINT", "140 grains HOLLOW POINT",
                "158 grains HOLLOW POINT", "180 grains FLAT NOSE", "220 grains FLAT NOSE", "250 grains SPITZER"}},
            {"nove6", ".356 WINCHESTER", 10, {"158 grains SEMI-WADCUTTER", "158 grains ROUND NOSE",
                "125 grains SOFT POINT", "125 grains HOLLOW POINT", "140 grains HOLLOW POINT",
                "158 grains SOFT POINT", "158 grains HOLLOW POINT", "180 grains TMJ SILHOUETTE",
                "180 grains FLAT NOSE", "220 grains FLAT NOSE"}},
            {"nove7", ".358 WINCHESTER", 8, {"125 grains SOFT POINT", "125 grains HOLLOW POINT",
                "140 grains HOLLOW POINT", "158 grains SOFT POINT", "158 grains HOLLOW POINT",
                "180 grains FLAT NOSE", "220 grains FLAT NOSE", "250 grains SPITZER"}},
            {"nove8", ".358 NORMA MAGNUM", 2, {"180 grains FLAT NOSE", "250 grains SPITZER"}},
            {"nove9", "9,3 X 62 mm", 1, {"270 grains SEMI-SPITZER"}},
            {"nove10", "9,3 X 74 R", 1, {"270 grains SEMI-SPITZER"}},
        }},
        {"DATA RIFLE", ".375_.458", {
            {"dieci1", ".375 WINCHESTER", 1, {"235 grains SEMI-SPITZER"}},
            {"dieci2", ".375 H&H MAGNUM", 2, {"235 grains SEMI SPITZER", "285 grains GRAND SLAM"}},
            {"dieci3", "41 MAGNUM RIFLE", 2, {"200 grains HOLLOW POINT", "220 grains SOFT POINT"}},
            {"dieci4", "44 MAGNUM RIFLE", 5, {"200 grains MAGNUM H.P.", "225 grains HOLLOW POINT",
                "240 grains MAGNUM H.P.", "240 grains MAGNUM S.P.", "240 grains SOFT POINT"}},
            {"dieci5", "444 MARLIN", 2, {"240 grains MAGNUM H.P.", "240 grains MAGNUM S.P."}},
            {"dieci6", "45-70 U.S. GOVERNEMANT", 1, {"400 grains FLAT NOSE:"}},
            {"dieci7", ".458 WINCHESTER MAGNUM", 1, {"400 grains FLAT NOSE:"}},
        }},
        {"DATA PISTOL", "5,6_6 mm.", {
            {"psei1", "22 HORNET", 2, {"40 grains SPIRE POINT", "45 grains SPITZER"}},
            {"psei2", "22 K-HORNET", 2, {"40 grains SPIRE POINT", "45 grains SPITZER"}},
            {"psei3", ".221 REMINGTON FIREBALL", 6, {"45 grains SPITZER", "50 grains SPITZER",
                "52 grains HOLLOW POINT", "55 grains FMJ", "55 grains SPITZER", "70 grains SEMI-SPITZER"}},
            {"psei4", "6 mm. TCU", 7, {"75 grains HOLLOW POINT", "80 grains SPITZER", "85 grains BOAT TAIL",
                "90 grains SPITZER", "90 grains FMJ", "100 grains BOAT TAIL", "105 grains ROUND NOSE"}},
        }},
        {"DATA PISTOL", "7 mm.", {
            {"psette1", "7mm. BR REMINGTON", 10, {"115 grains HOLLOW POINT", "130 grains SPITZER",
                "130 grains BOAT TAIL", "145 grains BOAT TAIL", "145 grains SPITZER", "145 grains MACTH",
                "160 grains SPITZER", "160 grains BOAT TAIL", "160 grains MAG TIP", "175 grains MAG TIP"}},
            {"psette2", "7 mm. TCU", 10, {"115 grains HOLLOW POINT", "130 grains SPITZER",
                "130 grains BOAT TAIL", "145 grains BOAT TAIL", "145 grains SPITZER", "145 grains MACTH",
                "160 grains SPITZER", "160 grains BOAT TAIL", "160 grains MAG TIP", "175 grains MAG TIP"}},
            {"psette3", "7 mm. INTERNATIONAL RIMMED", 6, {"115 grains HOLLOW POINT", "145 grains SPITZER",
                "145 grains BOAT TAIL", "145 grains MATCH", "160 grains SPITZER", "160 grains BOAT TAIL"}},
            {"psette4", "7 mm. IHMSA", 6, {"115 grains HOLLOW POINT", "145 grains SPITZER",
                "145 grains BOAT TAIL", "145 grains MATCH", "160 grains SPITZER", "160 grains BOAT TAIL"}},
        }},
        {"DATA PISTOL", ".300_.320", {
            {"ptre1", "30 CARBINE", 2, {"100 grains PLINKER", "110 grains VARMINTER"}},
            {"ptre2", "30-30 WINCHESTER", 10, {"110 grains WARMINTER", "110 grains ROUND NOSE",
                "110 grains SPIRE POINT", "130 grains HOLLOW POINT", "130 grains FLAT NOSE",
                "150 grains FLAT NOSE", "150 grains BOAT TAIL", "150 grains SPITZER", "165 grains BOAT TAIL",
                "165 grains SPITZER"}},
            {"ptre3", "32 S%W LONG", 2, {"100 grains PLINKER", "98 grains HBWC"}},
            {"ptre4", "32 H&R MAGNUM", 2, {"100 grains PLINKER", "98 grains HBWC"}},
            {"ptre5", "32-20", 6, {"100 grains PLINKER", "110 grains VARMINTER", "110 grains ROUND NOSE",
                "110 grains SPIRE POINT", "130 grains HOLLOW POINT", "130 grains FLAT NOSE"}},
        }},
        {"DATA PISTOL", "9 mm._.380_.357", {
            {"pnove1", ".380 ACP", 5, {"88 grains HOLLOW POINT", "95 grains TMJ", "100 grains HOLLOW POINT",
                "115 grains TMJ", "115 grains HOLLOW POINT"}},
            {"pnove2", "9 mm. PARABELLUM", 8, {"88 grains HOLLOW POINT", "95 grains TMJ",
                "100 grains HOLLOW POINT", "115 grains TMJ", "115 grains HOLLOW POINT", "124 grains TMJ",
                "125 grains SOFT POINT", "125 grains ROUND NOSE"}},
            {"pnove3", "9 X 21 IMI", 8, {"88 grains HOLLOW POINT", "95 grains TMJ", "100 grains HOLLOW POINT",
                "115 grains TMJ", "115 grains HOLLOW POINT", "124 grains TMJ", "125 grains SOFT POINT",
                "125 grains ROUND NOSE"}},
            {"pnove4", "38 SUPER", 6, {"110 grains HOLLOW POINT", "125 grains SOFT POINT",
                "125 grains HOLLOW POINT", "148 grains BBWC", "158 grains SEMI-WADCUTTER",
                "158 grains ROUND NOSE"}},
            {"pnove5", "38 S&W", 10, {"148 grains B.B.W.C.", "148 grains HOLLOW BASE W.C.",
                "158 grains SEMI WADCUTTER", "158 grains ROUND NOSE", "158 grains SEMI WADCUTTER",
                "110 grains HOLLOW POINT", "125 grains SOFT POINT", "140 grains HOLLOW POINT",
                "158 grains HOLLOW POINT", "160 grains SOFT POINT"}},
            {"pnove6", "38 SPECIAL", 10, {"146 grains HOLLOW POINT", "148 grains HOLLOW BASE W.C.",
                "158 grains SEMI WADCUTTER", "150 grains TMJ", "158 grains SEMI WADCUTTER",
                "110 grains HOLLOW POINT", "125 grains SOFT POINT", "140 grains HOLLOW POINT",
                "158 grains HOLLOW POINT", "160 grains SOFT POINT"}},
            {"pnove7", ".357 MAGNUM", 10, {"110 grains HOLLOW POINT", "125 grains SOFT POINT.",
                "125 grains HOLLOW POINT", "140 grains HOLLOW POINT", "150 grains TMJ",
                "158 grains HOLLOW POINT", "158 grains SOFT POINT", "180 grains TMJ", "200 grains TMJ",
                "220 grains FLAT NOSE"}},
            {"pnove8", ".357 MAXIMUM", 3, {"180 grains TMJ", "200 grains TMJ", "220 grains FLAT NOSE"}},
            {"pnove9", "35 REMINGTON", 0, {}},
        }},
        {"DATA PISTOL", "41_45", {
            {"pquattro1", "41 MAGNUM", 2, {"200 grains HOLLOW POINT", "220 grains SOFT POINT"}},
            {"pquattro2", "44 SPECIAL", 6, {"240 grains SEMI WADCUTTER", "200 grains MAGNUM H.P.",
                "225 grains HOLLOW POINT", "240 grains SOTF POINT", "240 grains MAGNUM H.P.",
                "240 grains MAGNUM S.P."}},
            {"pquattro3", "44 MAGNUM", 7, {"240 grains SEMI WADCUTTER", "200 grains MAGNUM H.P.",
                "225 grains HOLLOW POINT", "240 grains SOTF POINT", "240 grains MAGNUM H.P.",
                "240 grains MAGNUM S.P.", "240 grains TMJ"}},
            {"pquattro4", "45 AUTO RIM", 6, {"200 grains SEMI WADCUTTER", "230 grains ROUND NOSE",
                "250 grains SEMI WADCUTTER", "200 grains HOLLOW POINT", "225 grains HOLLOW POINT",
                "260 grains HOLLOW POINT"}},
            {"pquattro5", "45 AUTO", 8, {"200 grains SEMI WADCUTTER", "230 grains ROUND NOSE",
                "185 grains TMJ MATCH", "200 grains TMJ COMBAT", "200 grains HOLLOW POINT",
                "225 grains HOLLOW POINT", "230 grains TMJ", "260 grains HOLLOW POINT"}},
            {"pquattro6", "45 COLT", 5, {"200 grains SEMI WADCUTTER", "250 grains SEMI WADCUTTER",
                "200 grains HOLLOW POINT", "225 grains HOLLOW POINT", "260 grains HOLLOW POINT"}},
            {"pquattro7", "45 WINCHESTER MAGNUM", 4, {"200 grains HOLLOW POINT", "230 grains TMJ",
                "225 grains HOLLOW POINT", "260 grains HOLLOW POINT"}},
            {"pquattro8", "454 CASULL", 3, {"200 grains HOLLOW POINT", "225 grains HOLLOW POINT",
                "260 grains HOLLOW POINT"}},
            {"pquattro9", "45 COLT TOMPSOM CONTENDER", 4, {"200 grains HOLLOW POINT",
                "250 grains SEMI WADCUTTER", "225 grains HOLLOW POINT", "260 grains HOLLOW POINT"}},
        }},
        {"R.I.I.-R.S.P.-P.I.R.", "", {
            {"rstre8", ".380''", 1, {".380''  85 grains WINCHESTER JST "}},
            {"rrp9a", "9mm.", 7, {"9mm.  100 grains SPEER JHP", "9mm.  115 grains REMINGTON JHP ",
                "9mm.  115 grains WINCHESTER JSP ", "9mm.  115 grains WINCHESTER JST ",
                "9mm.  124 grains REMINGTON FMJ ", "9mm.  125 grains SPEER LRN ", "9mm.  125 grains SPEER JSP "}},
            {"RS38", ".38''", 10, {".38''  95 grains REMINGTON JST ", ".38'' 100 grains ZERO BULLETS JHP ",
                "38''  110 grains SPEER JHP ", "38''  125 grains SPEER JHP ", "38''  125 grains SPEER JSP ",
                "38''  140 grains SPEER JHP ", "38''  146 grains SPEER JHP ", "38''  148 grains SPEER LWC ",
                "38''  158 grains SPEER JSP ", "38'' 158 grains SPEER LSWC "}},
            {"RS38b", ".38''", 2, {".38'' 158 grains WINCHESTER LRN ", ".38'' 200 grains REMINGTON LRN "}},
            {"rr41", ".41''", 3, {".41''  210 grains REMINGTON JSP ", ".41''  210 grains REMINGTON LSWC ",
                ".41''  220 grains SPEER JSP "}},
            {"rr44", ".44''", 6, {".44''  180 grains SIERRA JHP", ".44''  200 grains SPEER JHP ",
                ".44''  225 grains SPEER JHP ", ".44''  240 grains HI-PRECISION JHP ",
                ".44''  240 grains SPEER JSP ", ".44''  240 grains SPEER LSW "}},
            {"rr45", ".45''", 9, {".45''  170 grains  HI-PRECISION JHP ", ".45''  185 grains REMINGTON JHP ",
                ".45''  185 grains WINCHESTER JST ", ".45''  200 grains SPEER JHP ",
                ".45''  200 grains SPEER LSW ", ".45''  225 grains SPEER JHP ",
                ".45''  225 grains WINCHESTER LRN ", ".45''  230 grains WINCHESTER FMJ ",
                ".45''  250 grains SPEER LSW "}},
        }},
    };
    return families;
}

std::vector<const CartridgePreset*> allPresets()
{
    std::vector<const CartridgePreset*> all;
    for (const CatalogueMenu& menu : catalogueMenus())
        for (const CartridgeFamily& family : menu.families)
            for (const CartridgePreset& preset : family.presets)
                all.push_back(&preset);
    return all;
}

std::size_t loadCount(const CatalogueMenu& menu)
{
    std::size_t n = 0;
    for (const CartridgeFamily& family : menu.families)
        for (const CartridgePreset& preset : family.presets)
            n += preset.loads.size();
    return n;
}

const BulletLoad& loadOf(std::string_view item, int button)
{
    const CartridgePreset* preset = findPreset(item);
    if (!preset || button < 1 || button > static_cast<int>(preset->loads.size()))
        throw std::out_of_range(std::string(item) + " has no button " + std::to_string(button));
    return preset->loads[static_cast<std::size_t>(button - 1)];
}

TEST(CatalogueShape, ThreeMenusInMenuBarOrderWithTheirKinds)
{
    const auto& menus = catalogueMenus();
    ASSERT_EQ(menus.size(), 3u);
    const struct { std::string_view title, objectName; PresetKind kind; std::size_t families; } expected[] = {
        {"DATA RIFLE", "calibririfle", PresetKind::Rifle, 10},
        {"DATA PISTOL", "Calibripistol", PresetKind::Pistol, 5},
        {"R.I.I.-R.S.P.-P.I.R.", "RS", PresetKind::Terminal, 1},
    };
    std::size_t families = 0;
    for (std::size_t m = 0; m < 3; ++m) {
        SCOPED_TRACE(expected[m].title);
        EXPECT_EQ(menus[m].title, expected[m].title);
        EXPECT_EQ(menus[m].objectName, expected[m].objectName);
        EXPECT_EQ(menus[m].families.size(), expected[m].families);
        families += menus[m].families.size();
        for (const CartridgeFamily& family : menus[m].families)
            for (const CartridgePreset& preset : family.presets)
                EXPECT_EQ(preset.kind, expected[m].kind) << preset.itemName;
    }
    EXPECT_EQ(families, 16u);
    // The terminal loads hang directly from their menu: one family without a caption.
    EXPECT_EQ(menus[2].families[0].caption, "");
}

TEST(CatalogueShape, TotalsOfItemsPresetsAndLoads)
{
    const auto presets = allPresets();
    EXPECT_EQ(presets.size(), 123u);
    std::size_t withLoads = 0, loads = 0;
    for (const CartridgePreset* p : presets) {
        withLoads += p->loads.empty() ? 0 : 1;
        loads += p->loads.size();
        EXPECT_LE(p->loads.size(), 10u) << p->itemName;
    }
    EXPECT_EQ(withLoads, 122u);
    EXPECT_EQ(loads, 722u);

    const auto& menus = catalogueMenus();
    EXPECT_EQ(loadCount(menus[0]), 508u);
    EXPECT_EQ(loadCount(menus[1]), 176u);
    EXPECT_EQ(loadCount(menus[2]), 38u);
}

TEST(CatalogueShape, FamiliesHoldTheirPresetsAndLoads)
{
    // menu, submenu, first and last item, presets with loads, loads
    const struct Row {
        std::string_view menu, caption, first, last;
        std::size_t items, presets, loads;
    } rows[] = {
        {"DATA RIFLE", "5,6_.224", "cinquesei1", "cinquesei14", 14, 14, 64},
        {"DATA RIFLE", "6mm._.243", "sei1", "sei5", 5, 5, 33},
        {"DATA RIFLE", ".257", "duecinque1", "duecinque4", 4, 4, 28},
        {"DATA RIFLE", "6,5 mm._.264", "seicinque1", "seicinque5", 5, 5, 15},
        {"DATA RIFLE", ".270", "duesettanta1", "duesettanta2", 2, 2, 18},
        {"DATA RIFLE", "7 mm._.284", "sette1", "sette11", 11, 11, 79},
        {"DATA RIFLE", "7,62 mm._.300", "tre1", "tre21", 21, 21, 187},
        {"DATA RIFLE", ".303_.323", "tretre1", "tretre6", 6, 6, 16},
        {"DATA RIFLE", ".338_.366", "nove1", "nove10", 10, 10, 54},
        {"DATA RIFLE", ".375_.458", "dieci1", "dieci7", 7, 7, 14},
        {"DATA PISTOL", "5,6_6 mm.", "psei1", "psei4", 4, 4, 17},
        {"DATA PISTOL", "7 mm.", "psette1", "psette4", 4, 4, 32},
        {"DATA PISTOL", ".300_.320", "ptre1", "ptre5", 5, 5, 22},
        {"DATA PISTOL", "9 mm._.380_.357", "pnove1", "pnove9", 9, 8, 60},
        {"DATA PISTOL", "41_45", "pquattro1", "pquattro9", 9, 9, 45},
        {"R.I.I.-R.S.P.-P.I.R.", "", "rstre8", "rr45", 7, 7, 38},
    };
    std::vector<std::pair<std::string_view, const CartridgeFamily*>> families;
    for (const CatalogueMenu& menu : catalogueMenus())
        for (const CartridgeFamily& family : menu.families)
            families.emplace_back(menu.title, &family);
    ASSERT_EQ(families.size(), std::size(rows));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        const CartridgeFamily& family = *families[i].second;
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(families[i].first, row.menu);
        EXPECT_EQ(family.caption, row.caption);
        ASSERT_EQ(family.presets.size(), row.items);
        EXPECT_EQ(family.presets.front().itemName, row.first);
        EXPECT_EQ(family.presets.back().itemName, row.last);
        std::size_t presets = 0, loads = 0;
        for (const CartridgePreset& p : family.presets) {
            presets += p.loads.empty() ? 0 : 1;
            loads += p.loads.size();
        }
        EXPECT_EQ(presets, row.presets);
        EXPECT_EQ(loads, row.loads);
    }
}

TEST(CatalogueCaptions, EveryItemAndButtonReadsCharacterForCharacter)
{
    const auto& expected = expectedCatalogue();
    std::vector<std::pair<std::string_view, const CartridgeFamily*>> families;
    for (const CatalogueMenu& menu : catalogueMenus())
        for (const CartridgeFamily& family : menu.families)
            families.emplace_back(menu.title, &family);
    ASSERT_EQ(families.size(), expected.size());
    for (std::size_t f = 0; f < expected.size(); ++f) {
        const ExpectedFamily& want = expected[f];
        const CartridgeFamily& have = *families[f].second;
        SCOPED_TRACE(want.caption);
        EXPECT_EQ(families[f].first, want.menu);
        EXPECT_EQ(have.caption, want.caption);
        ASSERT_EQ(have.presets.size(), want.presets.size());
        for (std::size_t p = 0; p < want.presets.size(); ++p) {
            const ExpectedPreset& wp = want.presets[p];
            const CartridgePreset& hp = have.presets[p];
            SCOPED_TRACE(wp.item);
            // Guards the table above as much as the data.
            ASSERT_EQ(wp.buttons.size(), static_cast<std::size_t>(wp.loads));
            EXPECT_EQ(hp.itemName, wp.item);
            EXPECT_EQ(hp.caption, wp.caption);
            ASSERT_EQ(hp.loads.size(), wp.buttons.size());
            for (std::size_t b = 0; b < wp.buttons.size(); ++b)
                EXPECT_EQ(hp.loads[b].caption, wp.buttons[b]) << "Option" << b + 1;
        }
    }
}

TEST(CatalogueCaptions, KeepsTheOddSpellingsAndSpacing)
{
    EXPECT_EQ(loadOf("cinquesei1", 1).caption, "22  HIGHT 40 grains");
    EXPECT_EQ(loadOf("sei2", 5).caption, "90 grains FMJd");
    EXPECT_EQ(loadOf("seicinque1", 2).caption, "123 grammi RWS");
    EXPECT_EQ(loadOf("dieci7", 1).caption, "400 grains FLAT NOSE:");
    EXPECT_EQ(loadOf("duesettanta2", 7).caption, "130 grains Pt-Ex ");
    EXPECT_EQ(findPreset("ptre3")->caption, "32 S%W LONG");
    // U+00DC as two UTF-8 bytes.
    EXPECT_EQ(findPreset("seicinque1")->caption, "6,5 X 68 SCH\xc3\x9cLER");
    EXPECT_EQ(loadOf("rr45", 1).caption, ".45''  170 grains  HI-PRECISION JHP ");
}

TEST(CatalogueCaptions, EveryLoadHasADescription)
{
    for (const CartridgePreset* p : allPresets())
        for (const BulletLoad& load : p->loads)
            EXPECT_FALSE(load.description.empty()) << p->itemName << " " << load.caption;
}

// The range overrides and the terminal-menu flag, as runs of items with a common stem.
TEST(CatalogueRanges, OverridesAndFlagsOfEveryPreset)
{
    const std::optional<double> none;
    const struct Row {
        std::string_view stem;
        int first, last;
        std::optional<double> zero, maximum, increment;
        bool disablesTerminalMenu;
    } rows[] = {
        {"cinquesei", 1, 1, 70, 150, 10, false},
        {"cinquesei", 2, 2, 130, 200, 10, true},
        {"cinquesei", 3, 6, 160, none, none, true},
        {"cinquesei", 7, 9, 180, none, none, true},
        {"cinquesei", 12, 12, 170, none, none, true},
        {"cinquesei", 10, 11, none, none, none, true},
        {"cinquesei", 13, 14, none, none, none, true},
        {"seicinque", 1, 1, 220, none, none, false},
        {"nove", 1, 10, 150, none, none, false},
        {"dieci", 1, 7, 150, none, none, false},
        {"pnove", 1, 8, 0, 100, 10, false},
        {"pquattro", 2, 2, 0, 100, 10, false},
        {"pquattro", 5, 6, 0, 100, 10, false},
        {"pquattro", 9, 9, 0, 100, 10, false},
        {"psei", 1, 4, 0, none, 10, false},
        {"psette", 1, 4, 0, none, 10, false},
        {"ptre", 1, 5, 0, none, 10, false},
        {"pquattro", 1, 1, 0, none, 10, false},
        {"pquattro", 3, 4, 0, none, 10, false},
        {"pquattro", 7, 8, 0, none, 10, false},
    };
    std::set<std::string> covered;
    for (const Row& row : rows) {
        for (int n = row.first; n <= row.last; ++n) {
            const std::string item = std::string(row.stem) + std::to_string(n);
            SCOPED_TRACE(item);
            const CartridgePreset* p = findPreset(item);
            ASSERT_NE(p, nullptr);
            EXPECT_EQ(p->range.zeroDistance, row.zero);
            EXPECT_EQ(p->range.maxDistance, row.maximum);
            EXPECT_EQ(p->range.increment, row.increment);
            EXPECT_EQ(p->disablesTerminalMenu, row.disablesTerminalMenu);
            EXPECT_TRUE(covered.insert(item).second) << "listed twice";
        }
    }
    std::size_t flagged = 0;
    for (const CartridgePreset* p : allPresets()) {
        flagged += p->disablesTerminalMenu ? 1 : 0;
        if (covered.count(std::string(p->itemName)) || p->itemName == "pnove9")
            continue;
        // Every other preset keeps the defaults of the fill.
        EXPECT_FALSE(p->range.zeroDistance) << p->itemName;
        EXPECT_FALSE(p->range.maxDistance) << p->itemName;
        EXPECT_FALSE(p->range.increment) << p->itemName;
        EXPECT_FALSE(p->disablesTerminalMenu) << p->itemName;
    }
    EXPECT_EQ(flagged, 13u);
}

TEST(CataloguePresets, InertPistolItemHasNoLoads)
{
    // "35 REMINGTON" of the pistol menu is listed but carries nothing to load.
    const CartridgePreset* p = findPreset("pnove9");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->caption, "35 REMINGTON");
    EXPECT_EQ(p->kind, PresetKind::Pistol);
    EXPECT_TRUE(p->loads.empty());
    EXPECT_FALSE(p->disablesTerminalMenu);
}

TEST(CataloguePresets, ItemNamesAreUniqueAndFoundByName)
{
    std::set<std::string_view> names;
    for (const CartridgePreset* p : allPresets()) {
        EXPECT_TRUE(names.insert(p->itemName).second) << p->itemName;
        EXPECT_EQ(findPreset(p->itemName), p) << p->itemName;
    }
    const CartridgePreset* tre11 = findPreset("tre11");
    ASSERT_NE(tre11, nullptr);
    EXPECT_EQ(tre11->caption, ".308 WINCHESTER (7,62 NATO) 165-200 grains");
    EXPECT_EQ(tre11->loads.size(), 10u);
    // The two ".38''" items of the terminal menu are distinct presets.
    ASSERT_NE(findPreset("RS38"), nullptr);
    ASSERT_NE(findPreset("RS38b"), nullptr);
    EXPECT_EQ(findPreset("RS38")->caption, findPreset("RS38b")->caption);
    EXPECT_EQ(findPreset("RS38")->loads.size(), 10u);
    EXPECT_EQ(findPreset("RS38b")->loads.size(), 2u);

    for (std::string_view unknown : {"", "tre22", "cinquesei0", "rs38b", "TRE11", "tre11 ", "DATA RIFLE"})
        EXPECT_EQ(findPreset(unknown), nullptr) << '"' << unknown << '"';
}

TEST(CataloguePresets, LargestSubmenuFillsTenButtonsFourteenTimes)
{
    const CartridgeFamily& family = catalogueMenus()[0].families[6];
    ASSERT_EQ(family.caption, "7,62 mm._.300");
    int full = 0;
    for (const CartridgePreset& p : family.presets)
        full += p.loads.size() == 10 ? 1 : 0;
    EXPECT_EQ(full, 14);
    EXPECT_EQ(findPreset("rstre8")->loads.size(), 1u);
}

// Rifle and pistol rows given in full.
TEST(CatalogueLoads, TellingRowsCarryTheirValues)
{
    const struct Row {
        std::string_view item;
        int button;
        std::string_view caption, description;
        double velocity_ms, weight_gr, bc;
    } rows[] = {
        {"cinquesei1", 1, "22  HIGHT 40 grains", "22 LONG RIFLE HIGHT 40 grains", 400, 40, 0.1},
        {"cinquesei1", 2, "22  STANDARD 40 grains", "22 LONG RIFLE STANDARD 40 grains", 330, 40, 0.1},
        {"cinquesei1", 3, "22  SUBSONIC 40 grains", "22 LONG RIFLE SUBSONIC 40 grains", 305, 40, 0.1},
        {"cinquesei4", 5, "55 grains SPITZER CAN", ".223 REMINGTON SPITZER 55 grains", 973, 55, 0.241},
        {"sei2", 1, "75 grains HOLLOW POINT", ".243 WINCHESTER 75 grains HOLLOW POINT", 1048, 75, 0.234},
        {"sei2", 7, "105 grains SPITZER", ".243 WINCHESTER 105 grains SPITZER IMR-4350/42.0", 912, 105, 0.443},
        {"tre2", 1, "150 grains PT-Ex", ".300 WEATHERBY MAGNUM 150 grains PT-Ex", 1097, 150, 0.358},
        {"tre12", 1, "100 grains PLINKER", "30-40 KRAG (7,62 NATO) 100 grains PLINKER", 899, 100, 0.124},
        {"nove9", 1, "270 grains SEMI-SPITZER", "9,3X62mm 270 grains SEMI-SPITZER", 777, 270, 0.361},
        {"dieci7", 1, "400 grains FLAT NOSE:", ".458 WINCHESTER MAGNUM grains FLAT NOSE", 689, 400, 0.214},
        {"seicinque1", 2, "123 grammi RWS", "6,5x68 SCHÜLER 8,2 grammi RWS 123 grains", 960, 123, 0.378},
        {"pnove1", 1, "88 grains HOLLOW POINT", ".380 ACP 88 grains HOLLOW POINT", 331, 88, 0.095},
        {"pnove2", 1, "88 grains HOLLOW POINT", "9mm PARABELLUM 88 grains HOLLOW POINT", 414, 88, 0.095},
        {"psette1", 1, "115 grains HOLLOW POINT", "7mm BR REMINGTON 115 grains HOLLOW POINT", 736, 115, 0.257},
        {"pquattro3", 1, "240 grains SEMI WADCUTTER", "44 MAGNUM 240 grains SEMI WADCUTTER", 319, 240, 0.151},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.item) + " Option" + std::to_string(row.button));
        const BulletLoad& load = loadOf(row.item, row.button);
        EXPECT_EQ(load.caption, row.caption);
        EXPECT_EQ(load.description, row.description);
        EXPECT_EQ(load.velocity_ms, row.velocity_ms);
        EXPECT_EQ(load.weight_gr, row.weight_gr);
        EXPECT_EQ(load.bc, row.bc);
        EXPECT_EQ(load.terminal, TerminalCoefficients{});
    }
}

// Before: the last load of the rifle "35 REMINGTON" carried a coefficient of 316, which had lost
// its decimal point and gave a flat, far-reaching table.
TEST(CatalogueLoads, RifleThirtyFiveRemingtonFlatNoseHasItsDecimalPoint)
{
    const BulletLoad& load = loadOf("nove4", 7);
    EXPECT_EQ(load.caption, "220 grains FLAT NOSE");
    EXPECT_EQ(load.velocity_ms, 557);
    EXPECT_EQ(load.weight_gr, 220);
    EXPECT_EQ(load.bc, 0.316);
}

TEST(CatalogueLoads, TerminalLoadsCarryAllTheirCoefficients)
{
    const struct Row {
        std::string_view item;
        int button;
        std::string_view caption, description;
        double velocity_ms, weight_gr, bc, diameter_mm, x, y, z, d;
    } rows[] = {
        {"rstre8", 1, ".380''  85 grains WINCHESTER JST ", ".380''  85 grains WINCHESTER JST ", 262, 85, 0.095, 9, 10715, -3.271, -4815, -0.01},
        {"rrp9a", 1, "9mm.  100 grains SPEER JHP", "9mm.  100 grains SPEER JHP ", 390, 100, 0.098, 9, 5638, 0.2764, -3412, -2.71},
        {"rrp9a", 2, "9mm.  115 grains REMINGTON JHP ", "9mm.  115 grains REMINGTON JHP ", 352, 115, 0.14, 9, 441.1, 2.864, -797.6, 3.98},
        {"rrp9a", 3, "9mm.  115 grains WINCHESTER JSP ", "9mm.  115 grains WINCHESTER JSP ", 341, 115, 0.14, 9, -11.62, 2.179, -359.9, -2.53},
        {"rrp9a", 4, "9mm.  115 grains WINCHESTER JST ", "9mm.  115 grains WINCHESTER JST ", 345, 115, 0.14, 9, 25801, -8.627, -14213, 0.2},
        {"rrp9a", 5, "9mm.  124 grains REMINGTON FMJ ", "9mm.  124 grains REMINGTON FMJ ", 338, 124, 0.172, 9, 1.369, 3.03, -964.3, 0.32},
        {"rrp9a", 6, "9mm.  125 grains SPEER LRN ", "9mm. 125 grains SPEER LRN ", 301, 125, 0.155, 9, -5.361, 2.72, -616.3, -2.1},
        {"rrp9a", 7, "9mm.  125 grains SPEER JSP ", "9mm. 125 grains SPEER JSP ", 350, 125, 0.15, 9, -22164, 13.42, 10852, 0.23},
        {"RS38", 1, ".38''  95 grains REMINGTON JST ", ".38''   95 grains REMINGTON JST ", 260, 95, 0.131, 9, 15457, -4.501, -8282, 0},
        {"RS38", 2, ".38'' 100 grains ZERO BULLETS JHP ", ".38''  100 grains ZERO BULLETS JHP ", 300, 100, 0.14, 9, 6061, -0.4131, -3011, 0.07},
        {"RS38", 3, "38''  110 grains SPEER JHP ", "38''  110 grains SPEER JHP ", 290, 110, 0.122, 9, 2686, 1.483, -1640, 3.71},
        {"RS38", 4, "38''  125 grains SPEER JHP ", "38''  125 grains SPEER JHP ", 274, 125, 0.135, 9, 4269, 0.8617, -2512, 7.94},
        {"RS38", 5, "38''  125 grains SPEER JSP ", "38''  125 grains SPEER JSP ", 274, 125, 0.14, 9, 3833, 0.9998, -2303, 4.82},
        {"RS38", 6, "38''  140 grains SPEER JHP ", "38''  140  grainsSPEER JHP ", 304, 140, 0.152, 9, 8474, -1.056, -4215, 0.06},
        {"RS38", 7, "38''  146 grains SPEER JHP ", "38''  146 grains SPEER JHP ", 304, 146, 0.15, 9, -12.8, 3.017, -242.5, 1.16},
        {"RS38", 8, "38''  148 grains SPEER LWC ", "38''  148 grains SPEER LWC ", 247, 148, 0.05, 9, 1260, 1.525, 186.6, 0.01},
        {"RS38", 9, "38''  158 grains SPEER JSP ", "38''  158 grains SPEER JSP ", 381, 158, 0.153, 9, 2284, 1.795, -1626, 4.07},
        {"RS38", 10, "38'' 158 grains SPEER LSWC ", "38'' 158 grains SPEER LSWC ", 305, 158, 0.121, 9, 6730, -0.0733, -3918, 3.98},
        {"RS38b", 1, ".38'' 158 grains WINCHESTER LRN ", ".38'' 158 grains WINCHESTER LRN ", 275, 158, 0.16, 9, -5034, 5.27, 1917, 0.84},
        {"RS38b", 2, ".38'' 200 grains REMINGTON LRN ", ".38''  200 grains REMINGTON LRN ", 323, 200, 0.165, 9, -4.065, 2.928, -517.4, 0.04},
        {"rr41", 1, ".41''  210 grains REMINGTON JSP ", ".41''   grains 210 REMINGTON JSP ", 396, 210, 0.16, 10.4, -22630, 14.09, 11105, 0.08},
        {"rr41", 2, ".41''  210 grains REMINGTON LSWC ", ".41''   grains 210 REMINGTON LSWC ", 356, 210, 0.13, 10.4, 6169, 1.286, -5252, 0},
        {"rr41", 3, ".41''  220 grains SPEER JSP ", ".41'' grains 220 SPEER JSP ", 397, 220, 0.137, 10.4, -15275, 10.36, 7498, 0.14},
        {"rr44", 1, ".44''  180 grains SIERRA JHP", ".44''  180 grains SIERRA JHP ", 467, 180, 0.118, 10.9, -2.5, 2.551, -353.3, -0.4},
        {"rr44", 2, ".44''  200 grains SPEER JHP ", ".44''  200 grains SPEER JHP ", 457, 200, 0.122, 10.9, 3666, 1.699, -2164, 4.37},
        {"rr44", 3, ".44''  225 grains SPEER JHP ", ".44''  225 grains SPEER JHP ", 441, 225, 0.146, 10.9, -13.15, -3.94, -771.2, -0.67},
        {"rr44", 4, ".44''  240 grains HI-PRECISION JHP ", ".44''  240 grains HI-PRECISION JHP ", 430, 240, 0.155, 10.9, 6421, -0.0194, -3121, 0.06},
        {"rr44", 5, ".44''  240 grains SPEER JSP ", ".44''  240 grains SPEER JSP ", 426, 240, 0.164, 10.9, -3967, 5.124, 2045, 0.72},
        {"rr44", 6, ".44''  240 grains SPEER LSW ", ".44''  240 grains SPEER LSW ", 240, 240, 0.157, 10.9, 16959, -4.724, -9533, 1.04},
        {"rr45", 1, ".45''  170 grains  HI-PRECISION JHP ", ".45''  170 grains HI-PRECISION JHP ", 360, 170, 0.131, 11.4, -4.76, 3.521, -753.9, -0.57},
        {"rr45", 2, ".45''  185 grains REMINGTON JHP ", ".45''   185 grains REMINGTON JHP ", 305, 185, 0.147, 11.4, -17875, -5.177, -9270, 0.08},
        {"rr45", 3, ".45''  185 grains WINCHESTER JST ", ".45'' 185 grains WINCHESTER JST ", 280, 185, 0.15, 11.4, 20979, -9.01, -8676, 0},
        {"rr45", 4, ".45''  200 grains SPEER JHP ", ".45''  200 grains SPEER JHP ", 300, 200, 0.138, 11.4, 5877, 0.2939, -2702, 0.05},
        {"rr45", 5, ".45''  200 grains SPEER LSW ", ".45''  200 grains SPEER LSW ", 219, 200, 0.078, 11.4, -4.379, 2.415, 87.48, 0.38},
        {"rr45", 6, ".45''  225 grains SPEER JHP ", ".45'' 225 grains SPEER JHP ", 290, 225, 0.169, 11.4, 5374, 0.4833, -2527, 0.98},
        {"rr45", 7, ".45''  225 grains WINCHESTER LRN ", ".45'' 225 grains WINCHESTER LRN ", 265, 225, 0.153, 11.4, 8.73, 2.605, -237.3, -2.63},
        {"rr45", 8, ".45''  230 grains WINCHESTER FMJ ", ".45'' 230 grains WINCHESTER FMJ ", 253, 230, 0.165, 11.4, -4.444, 2.772, -536.6, -1.12},
        {"rr45", 9, ".45''  250 grains SPEER LSW ", ".45''  250 grains SPEER LSW ", 270, 250, 0.117, 11.4, -2.14, 3.262, -421.5, -0.03},
    };
    const CartridgeFamily& terminal = catalogueMenus()[2].families[0];
    std::size_t loads = 0;
    for (const CartridgePreset& p : terminal.presets)
        loads += p.loads.size();
    ASSERT_EQ(loads, std::size(rows));

    std::size_t i = 0;
    for (const CartridgePreset& p : terminal.presets) {
        for (std::size_t b = 0; b < p.loads.size(); ++b, ++i) {
            const Row& row = rows[i];
            SCOPED_TRACE(std::string(row.item) + " Option" + std::to_string(row.button));
            // The rows above are in menu and button order: the n-th row is the n-th load.
            EXPECT_EQ(p.itemName, row.item);
            EXPECT_EQ(static_cast<int>(b) + 1, row.button);
            const BulletLoad& load = p.loads[b];
            EXPECT_EQ(load.caption, row.caption);
            EXPECT_EQ(load.description, row.description);
            EXPECT_EQ(load.velocity_ms, row.velocity_ms);
            EXPECT_EQ(load.weight_gr, row.weight_gr);
            EXPECT_EQ(load.bc, row.bc);
            EXPECT_EQ(load.terminal.diameter_mm, row.diameter_mm);
            EXPECT_EQ(load.terminal.x, row.x);
            EXPECT_EQ(load.terminal.y, row.y);
            EXPECT_EQ(load.terminal.z, row.z);
            EXPECT_EQ(load.terminal.d, row.d);
            EXPECT_EQ(load.terminal.rspFactor, 0.9);
            EXPECT_EQ(load.terminal.pirFactor, 0.01);
        }
    }
}

TEST(CatalogueLoads, OnlyTerminalLoadsCarryTerminalCoefficients)
{
    for (const CartridgePreset* p : allPresets()) {
        for (const BulletLoad& load : p->loads) {
            if (p->kind == PresetKind::Terminal) {
                EXPECT_TRUE(load.terminal.diameter_mm && load.terminal.x && load.terminal.y &&
                            load.terminal.z && load.terminal.d && load.terminal.rspFactor &&
                            load.terminal.pirFactor)
                    << p->itemName << " " << load.caption;
            } else {
                EXPECT_EQ(load.terminal, TerminalCoefficients{}) << p->itemName << " " << load.caption;
            }
        }
    }
}

// Every load must be one the tables accept and compute sensibly: whole m/s and grains, and a
// coefficient of the order of those of real bullets.
TEST(CatalogueLoads, ValuesWithinTheCatalogueBounds)
{
    const std::set<double> diameters = {9, 10.4, 10.9, 11.4};
    for (const CartridgePreset* p : allPresets()) {
        for (const BulletLoad& load : p->loads) {
            SCOPED_TRACE(std::string(p->itemName) + " " + std::string(load.caption));
            EXPECT_GE(load.velocity_ms, 201);
            EXPECT_LE(load.velocity_ms, 1255);
            EXPECT_EQ(load.velocity_ms, std::floor(load.velocity_ms));
            EXPECT_GE(load.weight_gr, 40);
            EXPECT_LE(load.weight_gr, 400);
            EXPECT_EQ(load.weight_gr, std::floor(load.weight_gr));
            EXPECT_GE(load.bc, 0.044);
            EXPECT_LE(load.bc, 0.556);
            if (load.terminal.diameter_mm) {
                EXPECT_TRUE(diameters.count(*load.terminal.diameter_mm));
            }
            for (const auto& c : {load.terminal.x, load.terminal.y, load.terminal.z, load.terminal.d}) {
                if (c) {
                    EXPECT_TRUE(std::isfinite(*c));
                }
            }
        }
    }
}

} // namespace
} // namespace siacci
