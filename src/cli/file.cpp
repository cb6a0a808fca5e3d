// --file SHOT.bal: the shot of a saved file, in the mode it was saved in.
#include "cli/shot_options.hpp"
#include "files/bal_record.hpp"

namespace siacci::cli {
namespace {

std::string applyFile(const std::string& value, TableMode& mode, ShotInput& shot)
{
    const BalReadResult result = readBalFile(value);
    // The window would apply the fields read before a failure and beep; a script gets no
    // half-read shot, only the reason.
    if (result.status != BalReadStatus::Complete)
        return "Il file \"" + value + "\" non si legge: " +
               (result.reason.empty() ? std::string("non è un file di tiro") : result.reason) + ".";
    applyRecord(result, shot, mode);
    return {};
}

} // namespace

const ShotSource fileSource{
    "--file", "--file TIRO.bal       i dati di un file di tiro, nel modo in cui fu salvato",
    &applyFile};

} // namespace siacci::cli
