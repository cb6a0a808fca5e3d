#pragma once

#include "common/ports.hpp"

#include <deque>
#include <set>

// Recording fakes of the ports, for the tests.
namespace siacci::testing {

class FakeDialogs : public Dialogs {
public:
    struct Prompt {
        std::string title, text, initialAnswer;
    };
    std::vector<Prompt> prompts;
    std::vector<Message> messages;
    int beeps = 0;
    // Answers given to the next prompts, in order; nullopt cancels. An empty queue cancels.
    std::deque<std::optional<std::string>> promptAnswers;
    MessageAnswer messageAnswer = MessageAnswer::Ok;

    std::optional<std::string> prompt(const std::string& title, const std::string& text,
                                      const std::string& initialAnswer) override
    {
        prompts.push_back({title, text, initialAnswer});
        if (promptAnswers.empty())
            return std::nullopt;
        auto answer = promptAnswers.front();
        promptAnswers.pop_front();
        return answer;
    }
    MessageAnswer message(const Message& m) override
    {
        messages.push_back(m);
        return messageAnswer;
    }
    void beep() override { ++beeps; }
};

class FakePrintSink : public PrintSink {
public:
    std::vector<double> fontSizes;
    std::vector<PrintLine> lines;
    int documentsEnded = 0;

    void setFontSize(double points) override { fontSizes.push_back(points); }
    void printLine(const PrintLine& line) override { lines.push_back(line); }
    void endDoc() override { ++documentsEnded; }
};

class FakeWindowHost : public WindowHost {
public:
    std::set<WindowId> open;
    std::vector<std::pair<char, WindowId>> calls; // 's' show, 'c' close
    int waitCursorOn = 0;
    int waitCursorOff = 0;
    bool waitCursor = false;

    void show(WindowId w) override
    {
        calls.push_back({'s', w});
        open.insert(w);
    }
    void close(WindowId w) override
    {
        calls.push_back({'c', w});
        open.erase(w);
    }
    bool isOpen(WindowId w) const override { return open.count(w) != 0; }
    void setWaitCursor(bool on) override
    {
        (on ? waitCursorOn : waitCursorOff)++;
        waitCursor = on;
    }
};

} // namespace siacci::testing
