#include "cli/output.hpp"

#include "cli/command.hpp"

#include <cerrno>
#include <ostream>

namespace siacci::cli {

int finishOutput(int status, std::ostream& out, std::ostream& err)
{
    errno = 0;
    out.flush();
    if (out)
        return status;
    const int error = errno;
    err << "siacci-cli: impossibile scrivere il risultato: "
        << (error == ENOSPC || error == EDQUOT ? "il disco è pieno"
            : error == EPIPE                  ? "l'uscita è stata chiusa"
                                              : "errore di scrittura")
        << "\n";
    return status == kExitOk ? kExitRefused : status;
}

std::optional<char> decimalSeparatorOption(const std::string& value, std::string& error)
{
    // A digit or a sign would make the numbers unreadable; a control character would split
    // the cells.
    const char c = value.size() == 1 ? value[0] : '\0';
    if (c > ' ' && c <= '~' && !(c >= '0' && c <= '9') && c != '+' && c != '-')
        return c;
    error = "il separatore decimale è un solo carattere stampabile che non sia una cifra o un "
            "segno, come \",\" o \".\"";
    return std::nullopt;
}

} // namespace siacci::cli
