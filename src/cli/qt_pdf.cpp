// siacci-cli pdf: the printed report of one shot written as a PDF file, laid out on its pages
// exactly as the program's print preview shows it. Range cards from a script.
#include "ballistics/tables.hpp"
#include "cli/command.hpp"
#include "cli/output.hpp"
#include "cli/qt_application.hpp"
#include "cli/shot_options.hpp"
#include "files/careful_write.hpp"
#include "print/qt_report_painter.hpp"

#include <QString>

#include <ostream>

namespace siacci::cli {
namespace {

constexpr std::string_view kUsage =
    "pdf [--mode metric|imperial|terminal] --velocity V --bc B [altre opzioni del tiro]\n"
    "      --pdf FILE [--decimal SEP]\n"
    "      il rapporto di stampa della tabella in un file PDF";

void printHelp(std::ostream& out)
{
    out << "Uso: siacci-cli " << kUsage << "\n\nOpzioni del tiro:\n"
        << shotOptionsUsage()
        << "\nUscita:\n"
           "  --pdf FILE        il file PDF da scrivere (sostituito se c'è già)\n"
           "  --decimal SEP     separatore decimale dei numeri (predefinito: il punto)\n"
           "\nIl rapporto è quello del comando STAMPA: tutte le distanze fino alla massima,\n"
           "in carattere a spaziatura fissa di 11 punti, su più pagine se serve.\n"
           "\nStato di uscita: 0 fatto, 2 uso errato, 3 dati rifiutati o file non scritto\n"
           "(messaggio su stderr).\n";
}

int runPdf(const Args& args, std::ostream& out, std::ostream& err)
{
    std::string path;
    char decimal = '.';
    const ExtraOptionHandler outputOptions = [&](const Args& a, std::size_t& i,
                                                 std::string& error) {
        const std::string& arg = a[i];
        if (arg != "--pdf" && arg != "--decimal")
            return false;
        if (i + 1 >= a.size()) {
            error = "manca il valore di " + arg;
            return false;
        }
        const std::string& value = a[++i];
        if (arg == "--pdf")
            path = value;
        else if (const auto separator = decimalSeparatorOption(value, error))
            decimal = *separator;
        return error.empty();
    };

    std::string error;
    const auto options = parseShotOptions(args, error, outputOptions);
    if (options && options->help) {
        printHelp(out);
        return kExitOk;
    }
    if (options && path.empty())
        error = "manca --pdf FILE";
    if (!options || path.empty()) {
        err << "siacci-cli pdf: " << error << "\n";
        err << "Uso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }

    TableMode mode = TableMode::Metric;
    ShotInput shot;
    const std::string refusal = resolveTableShot(*options, mode, shot);
    if (!refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }
    const TableRun run = tableOfMode(mode, shot, RunKind::Print, decimal);
    if (run.refusal != TableRefusal::None) {
        err << refusalMessage(run.refusal, mode) << "\n";
        return kExitRefused;
    }

    // A FIFO or a device node would be replaced by a plain file (as root, damage to the system).
    if (existsButNotRegular(followLinks(path))) {
        err << "siacci-cli pdf: \"" << path << "\" non è un file normale\n";
        return kExitRefused;
    }
    ensureGuiApplication();
    // The print commands set the printer's font to 11 points before the table runs.
    if (QString why; !writeReportPdf(run.printed, 11, QString::fromLocal8Bit(path.c_str()), &why)) {
        err << "siacci-cli pdf: non riesco a scrivere il file \"" << path << "\": " << why.toStdString() << "\n";
        return kExitRefused;
    }
    return kExitOk;
}

} // namespace

const Command pdfCommand{"pdf", kUsage, &runPdf};

} // namespace siacci::cli
