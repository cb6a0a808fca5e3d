#pragma once

#include "card/card_sheet.hpp"

#include <array>
#include <string>
#include <vector>

// The printed card as lists of things to draw, in millimetres from the page's top-left corner,
// so that the layouts are tested without a painter. Text is set in a fixed-pitch font whose
// characters are kCharWidthEm of the type size wide.
namespace siacci::card {

inline constexpr double kMmPerPoint = 25.4 / 72;
inline constexpr double kCharWidthEm = 0.6;      // a fixed-pitch font's advance
inline constexpr double kLineHeightEm = 1.25;    // baseline to baseline

enum class Align { Left, Right, Centre };

struct DrawText {
    double x_mm = 0, y_mm = 0;                   // the baseline's left, right or centre point
    double size_pt = 10;
    std::string text;
    Align align = Align::Left;
    bool bold = false;
};

struct DrawLine {
    double x1_mm = 0, y1_mm = 0, x2_mm = 0, y2_mm = 0;
    double width_mm = 0.2;
    bool dashed = false;
};

struct DrawRect {
    double x_mm = 0, y_mm = 0, width_mm = 0, height_mm = 0;
    int grey = 230;                              // 0 black ... 255 white; -1: outline only
};

struct PageDrawing {
    std::vector<DrawRect> rects;                 // drawn first
    std::vector<DrawLine> lines;
    std::vector<DrawText> texts;
};

struct PrintedCard {
    double pageWidth_mm = 210, pageHeight_mm = 297;  // A4
    std::vector<PageDrawing> pages;
};

// Width of a text in the fixed-pitch font (characters, not bytes).
double textWidth_mm(const std::string& text, double size_pt);

// "Cartellino tascabile": cards of 9 x 5.5 cm, as many to an A4 page as fit, with cut marks.
// Each card: the header line (load, zero, click, conditions), then distance | clicks up |
// the user's wind clicks (when there is a wind) | wind clicks for 10 km/h from 3 o'clock, in
// the largest type that fits. When the rows do not
// fit one card at a readable size they go on to a second card; the page is filled with copies.
inline constexpr double kPocketWidth_mm = 90;
inline constexpr double kPocketHeight_mm = 55;
struct PocketLayout {
    PrintedCard card;
    double rowSize_pt = 0;                       // the type of the rows
    double headerSize_pt = 0;
    int rowsPerCard = 0;
    int cardsPerSet = 0;                         // different cards the rows need
    int cardsPerPage = 0;
};
PocketLayout pocketLayout(const CardSheet& sheet);

// The bullet as the full page prints it: "V0 823 m/s · 165 grains · G1 0,285, a gradini ...".
std::string bulletLine(const CardSetup& setup);

// "Pagina intera": the bullet, the conditions, the whole table, the lines under it and the plot.
PrintedCard fullPageLayout(const CardSheet& sheet);

// The header line of the pocket card: the load, the zero, the click, the air, the slope, in at
// most `maxCharacters` characters (the load's name is shortened).
std::string pocketHeader(const CardSheet& sheet, std::size_t maxCharacters);
// The header as printed: that line when it fits whole, else the load's name on a line of its own
// above the numbers ("\n" between); `part` ("2/3") ends it.
std::string pocketHeaderLines(const CardSheet& sheet, std::size_t maxCharacters, const std::string& part);

} // namespace siacci::card
