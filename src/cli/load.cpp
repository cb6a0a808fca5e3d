// --load ITEM:BUTTON: a catalogue load as the main window would set it, for every subcommand
// that takes the shot options.
#include "app/form4.hpp"
#include "catalogue/catalogue.hpp"
#include "cli/shot_options.hpp"

#include <charconv>

namespace siacci::cli {
namespace {

// The tool never prompts: the window's boxes answer nothing, print nowhere, show no window.
class SilentDialogs : public Dialogs {
public:
    std::optional<std::string> prompt(const std::string&, const std::string&,
                                      const std::string&) override
    {
        return std::nullopt;
    }
    MessageAnswer message(const Message&) override { return MessageAnswer::Ok; }
    void beep() override {}
};
class NoWindows : public WindowHost {
public:
    void show(WindowId) override {}
    void close(WindowId) override {}
    bool isOpen(WindowId) const override { return false; }
    void setWaitCursor(bool) override {}
};
class NoPrinter : public PrintSink {
public:
    void setFontSize(double) override {}
    void printLine(const PrintLine&) override {}
    void endDoc() override {}
};

std::string applyLoad(const std::string& value, TableMode& mode, ShotInput& shot)
{
    const auto colon = value.find(':');
    if (colon == std::string::npos || value.find(':', colon + 1) != std::string::npos)
        return "Indica la palla come VOCE:PULSANTE, per esempio tre11:3.";
    const std::string item = value.substr(0, colon);
    const CartridgePreset* preset = findPreset(item);
    if (!preset)
        return "Voce di catalogo sconosciuta: \"" + item + "\".";
    int button = 0;
    const char* first = value.data() + colon + 1;
    const char* last = value.data() + value.size();
    const auto parsed = std::from_chars(first, last, button);
    const int count = static_cast<int>(preset->loads.size());
    if (parsed.ec != std::errc() || parsed.ptr != last || button < 1 || button > count)
        return count == 0 ? "La voce \"" + item + "\" non ha palle."
                          : "La voce \"" + item + "\" ha i pulsanti da 1 a " +
                                std::to_string(count) + ".";

    SilentDialogs dialogs;
    NoWindows windows;
    NoPrinter printer;
    Form4 form(dialogs, windows, printer);
    form.startUp();
    form.presetChosen(*preset);
    // The fill returns the window to metric units; a rifle or pistol bullet chosen in imperial
    // mode is then converted as the window converts it.
    if (mode == TableMode::Imperial && preset->kind != PresetKind::Terminal)
        form.inglese();
    form.selectBullet(button);
    shot = form.shot();
    mode = form.tableMode();
    return {};
}

} // namespace

const ShotSource loadSource{
    "--load", "--load VOCE:PULSANTE  una palla del catalogo (es. tre11:3), come dal menu",
    &applyLoad};

} // namespace siacci::cli
