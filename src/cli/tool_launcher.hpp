#pragma once

#include "cli/command.hpp"

// The two programs of the tool: siacci-cli, without Qt, and siacci-cli-qt beside it for what
// needs Qt (see tool_launcher.cpp).
namespace siacci::cli {

// Whether these arguments (without the program's name) are for siacci-cli-qt: the PDF report,
// a card printed (--pdf) or read from the armoury (--rifle, --load, --armoury), the help and
// anything that is not a command of the tool without Qt.
bool needsQtTool(const Args& args);

// Replaces this process with siacci-cli-qt from the same folder, given `argv` as it is; returns
// (status 3, with a message) only when that program cannot be run.
int runQtTool(char** argv);

} // namespace siacci::cli
