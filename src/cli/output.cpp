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
    if (value.size() == 1 && value[0] >= ' ' && value[0] <= '~')
        return value[0];
    error = "il separatore decimale è un solo carattere stampabile, come \",\" o \".\"";
    return std::nullopt;
}

} // namespace siacci::cli
