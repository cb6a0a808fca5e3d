#pragma once

#include <optional>
#include <string>
#include <vector>

// What the core asks of the platform. Implemented once with Qt and once as recording fakes
// for the tests.
namespace siacci {

enum class MessageIcon { None, Information, Warning, Critical, Question };

// The buttons of a message box; the first listed is the default unless `defaultButton` says
// otherwise.
enum class MessageButtons { Ok, OkCancel, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Message {
    std::string title;   // empty: the program's title
    std::string text;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    bool cancelIsDefault = false;
    // YesNoCancel: the captions of the two choices when not "Sì" and "No"; Yes is the default.
    std::string yesText{};
    std::string noText{};
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal prompt with an answer box; nullopt when the user cancels.
    virtual std::optional<std::string> prompt(const std::string& title, const std::string& text,
                                              const std::string& initialAnswer) = 0;
    virtual MessageAnswer message(const Message& message) = 0;
    virtual void beep() = 0;
};

// One item of a printed line: text starting at a print column (counted from 1).
struct PrintItem {
    int column = 1;
    std::string text;

    friend bool operator==(const PrintItem&, const PrintItem&) = default;
};
using PrintLine = std::vector<PrintItem>;

class PrintSink {
public:
    virtual ~PrintSink() = default;
    virtual void setFontSize(double points) = 0;
    virtual void printLine(const PrintLine& line) = 0;
    // Ends the document so that it is printed.
    virtual void endDoc() = 0;
};

// The program's other windows, as the main window knows them.
enum class WindowId { Main, Graph, Cb, Calc, GetFile, SaveFile, Help, Card, Armoury, Tiro };

class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void show(WindowId window) = 0;
    virtual void close(WindowId window) = 0;
    virtual bool isOpen(WindowId window) const = 0;
    virtual void setWaitCursor(bool on) = 0;
};

} // namespace siacci
