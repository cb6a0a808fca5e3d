// siacci-cli card --pdf: the printed range card, written with the same painter as the window's
// print preview.
#include "card/qt_card_print.hpp"
#include "cli/card_extras.hpp"
#include "cli/qt_application.hpp"

namespace siacci::cli {

namespace {

std::string writeCardFile(const card::CardSheet& sheet, bool pocket, const std::string& path)
{
    ensureGuiApplication();
    const card::PrintedCard printed =
        pocket ? card::pocketLayout(sheet).card : card::fullPageLayout(sheet);
    return card::writeCardPdf(printed, QString::fromLocal8Bit(path.c_str())).toStdString();
}

const bool registered = registerCardPdfWriter(&writeCardFile);

} // namespace
} // namespace siacci::cli
