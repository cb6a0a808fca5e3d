// siacci-cli table: the firing table of one shot, as CALCOLA fills the grid, or the lines of
// the printed report.
#include "ballistics/tables.hpp"
#include "cli/command.hpp"
#include "cli/shot_options.hpp"
#include "cli/text_output.hpp"

#include <array>
#include <ostream>

namespace siacci::cli {
namespace {

constexpr std::string_view kUsage =
    "table [--mode metric|imperial|terminal] --velocity V --bc B [altre opzioni del tiro]\n"
    "      [--print] [--headings] [--format tsv|csv] [--decimal SEP]\n"
    "      la tabella di tiro, una riga per distanza";

enum class Format { Tsv, Csv };

struct OutputOptions {
    bool print = false;
    bool headings = false;
    Format format = Format::Tsv;
    char decimal = '.';
};

void printHelp(std::ostream& out)
{
    out << "Uso: siacci-cli " << kUsage << "\n\nOpzioni del tiro:\n"
        << shotOptionsUsage()
        << "\nUscita:\n"
           "  --print           le righe del rapporto di stampa invece della tabella (senza\n"
           "                    l'arresto per energia nulla)\n"
           "  --headings        le tre righe d'intestazione della griglia prima dei dati\n"
           "  --format tsv|csv  celle separate da tabulazione (predefinito) o CSV (RFC 4180)\n"
           "  --decimal SEP     separatore decimale delle celle (predefinito: il punto)\n"
           "\nStato di uscita: 0 fatto, 2 uso errato, 3 dati rifiutati (messaggio su stderr).\n";
}

// A character of UTF-8 text counts as one print column.
std::size_t columnsOf(const std::string& text)
{
    std::size_t n = 0;
    for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80)
            ++n;
    return n;
}

// One printed line as a line of text: each item starts at its print column (counted from 1),
// or one blank after the text before it when that already reaches past the column.
std::string layOut(const PrintLine& line)
{
    std::string out;
    std::size_t at = 0;
    for (const PrintItem& item : line) {
        const std::size_t start = item.column > 1 ? static_cast<std::size_t>(item.column - 1) : 0;
        if (start >= at)
            out.append(start - at, ' ');
        else
            out += ' ';
        out += item.text;
        at = columnsOf(out);
    }
    return out;
}

template <typename Cells>
void writeRow(std::ostream& out, const Cells& cells, Format format)
{
    writeCells(out, cells, format == Format::Csv ? CellFormat::Csv : CellFormat::Tsv);
}

int runTable(const Args& args, std::ostream& out, std::ostream& err)
{
    OutputOptions output;
    const ExtraOptionHandler outputOptions = [&output](const Args& a, std::size_t& i,
                                                       std::string& error) {
        const std::string& arg = a[i];
        if (arg == "--print") {
            output.print = true;
            return true;
        }
        if (arg == "--headings") {
            output.headings = true;
            return true;
        }
        if (arg != "--format" && arg != "--decimal")
            return false;
        if (i + 1 >= a.size()) {
            error = "manca il valore di " + arg;
            return false;
        }
        const std::string& value = a[++i];
        if (arg == "--format") {
            if (value == "tsv")
                output.format = Format::Tsv;
            else if (value == "csv")
                output.format = Format::Csv;
            else
                error = "formato sconosciuto \"" + value + "\" (tsv o csv)";
        } else if (value.size() == 1) {
            output.decimal = value[0];
        } else {
            error = "il separatore decimale è un solo carattere, non \"" + value + "\"";
        }
        return error.empty();
    };

    std::string error;
    const auto options = parseShotOptions(args, error, outputOptions);
    if (!options) {
        err << "siacci-cli table: " << error << "\n";
        err << "Uso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    if (options->help) {
        printHelp(out);
        return kExitOk;
    }

    TableMode mode = TableMode::Metric;
    ShotInput shot;
    const std::string refusal = resolveTableShot(*options, mode, shot);
    if (!refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }

    const RunKind kind = output.print ? RunKind::Print : RunKind::Screen;
    const TableRun run = tableOfMode(mode, shot, kind, output.decimal);
    if (run.refusal != TableRefusal::None) {
        err << refusalMessage(run.refusal, mode) << "\n";
        return kExitRefused;
    }

    if (output.print) {
        for (const PrintLine& line : run.printed)
            out << layOut(line) << "\n";
        return kExitOk;
    }
    if (output.headings) {
        const GridLayout& layout = mode == TableMode::Imperial   ? imperialLayout()
                                   : mode == TableMode::Terminal ? terminalLayout()
                                                                 : metricLayout();
        for (const auto& heading : layout.headings) {
            std::array<std::string_view, 8> cells;
            for (std::size_t i = 0; i < cells.size(); ++i)
                cells[i] = heading[i];
            writeRow(out, cells, output.format);
        }
    }
    for (const TrajectoryRow& row : run.rows)
        writeRow(out, row, output.format);
    return kExitOk;
}

const bool registered = registerCommand({"table", kUsage, &runTable});

} // namespace
} // namespace siacci::cli
