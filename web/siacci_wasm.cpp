// The WebAssembly entry point: siacci-cli's commands as a function of JavaScript,
//     const s = await createSiacci();
//     const {status, out, err} = s.run(["table", "--velocity", "800", "--bc", "0.4"]);
// with exactly the text and the exit status of the native tool.
#include "cli/command.hpp"

#include <emscripten/bind.h>

#include <sstream>
#include <string>

namespace {

emscripten::val run(const emscripten::val& jsArgs)
{
    const auto args = emscripten::vecFromJSArray<std::string>(jsArgs);
    std::ostringstream out;
    std::ostringstream err;
    const int status = siacci::cli::runCli(args, out, err);
    emscripten::val result = emscripten::val::object();
    result.set("status", status);
    result.set("out", out.str());
    result.set("err", err.str());
    return result;
}

} // namespace

EMSCRIPTEN_BINDINGS(siacci)
{
    emscripten::function("run", &run);
}
