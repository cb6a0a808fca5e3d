#pragma once

// The PDF writers of the tool need the font machinery of a GUI application, but no screen: this
// creates one, offscreen, the first time it is called, and keeps Qt's notes about the platform
// off the tool's standard error. The commands that write no PDF never call it.
namespace siacci::cli {

void ensureGuiApplication();

} // namespace siacci::cli
