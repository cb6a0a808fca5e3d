// The WebAssembly entry point. siacci-cli's commands as a function of JavaScript,
//     const s = await createSiacci();
//     const {status, out, err} = s.run(["table", "--velocity", "800", "--bc", "0.4"]);
// with exactly the text and the exit status of the native tool; and the page's session
// (session/page_session.hpp), whose views are JSON texts:
//     const p = new s.PageSession(JSON.stringify({"siacci-armeria": "..."}));
//     p.cardSet("velocita", "812,5"); JSON.parse(p.cardView());
// web/session.js wraps it as the page uses it.
#include "cli/command.hpp"
#include "common/json.hpp"
#include "session/page_session.hpp"

#include <emscripten/bind.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace {

// A stream whose text gathers in a string of its own, handed over whole: an ostringstream
// would copy it once more on the way out.
class TextBuffer : public std::streambuf {
public:
    std::string text;

protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            text += traits_type::to_char_type(c);
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        text.append(s, static_cast<std::size_t>(n));
        return n;
    }
};

// A text of the module as a JavaScript string. A long one is decoded by the platform's
// TextDecoder straight from the module's memory, as embind itself decodes it in the end, but
// without its two walks over every byte in JavaScript (a 1001-row card in JSON is 400 kB).
// Short texts and any holding a NUL keep embind's own conversion, which treats them otherwise.
emscripten::val jsText(const std::string& text)
{
    if (text.size() <= 16 || std::memchr(text.data(), '\0', text.size()))
        return emscripten::val(text);
    static const emscripten::val decoder = emscripten::val::global("TextDecoder").new_(std::string("utf8"));
    return decoder.call<emscripten::val>(
        "decode", emscripten::val(emscripten::typed_memory_view(text.size(), text.data())));
}

emscripten::val run(const emscripten::val& jsArgs)
{
    const auto args = emscripten::vecFromJSArray<std::string>(jsArgs);
    TextBuffer outText;
    TextBuffer errText;
    std::ostream out(&outText);
    std::ostream err(&errText);
    const int status = siacci::cli::runCli(args, out, err);
    emscripten::val result = emscripten::val::object();
    result.set("status", status);
    result.set("out", jsText(outText.text));
    result.set("err", jsText(errText.text));
    return result;
}

using siacci::session::PageSession;

// The session over the page's storage, given as a JSON object of texts by key.
std::unique_ptr<PageSession> openSession(const std::string& storage)
{
    std::vector<std::pair<std::string, std::string>> stored;
    const auto reading = siacci::json::parse(storage);
    if (reading.value)
        for (const auto& [key, value] : reading.value->members())
            if (value.isString())
                stored.emplace_back(key, value.string());
    return std::make_unique<PageSession>(stored);
}

// What to write into the storage, as a JSON array of {key, text}.
std::string takeWrites(PageSession& s)
{
    siacci::json::Value list = siacci::json::Value::array();
    for (const auto& w : s.takeWrites())
        list.push(siacci::json::Value::object().set("chiave", w.key).set("testo", w.text));
    return siacci::json::write(list);
}

void cardSet(PageSession& s, const std::string& f, const std::string& t) { s.cardSet(f, t); }
void cardLeave(PageSession& s, const std::string& f) { s.cardLeave(f); }
void cardNegate(PageSession& s, const std::string& f) { s.cardNegate(f); }
void cardChoose(PageSession& s, const std::string& w, const std::string& v) { s.cardChoose(w, v); }
void useCatalogue(PageSession& s, const std::string& item, int button) { s.useCatalogue(item, button); }
std::string catalogueView(const PageSession& s, int menu, const std::string& q) { return s.catalogueView(menu, q); }
std::string catalogueLoads(const PageSession& s, const std::string& item) { return s.catalogueLoads(item); }
void armourySave(PageSession& s, const std::string& r, const std::string& l) { s.armourySave(r, l); }
void armouryImport(PageSession& s, const std::string& text, bool replace) { s.armouryImport(text, replace); }
std::string armouryImportQuestion(const PageSession& s, const std::string& text) { return s.armouryImportQuestion(text); }
void truingSet(PageSession& s, const std::string& w, const std::string& v) { s.truingSet(w, v); }
void tiroSet(PageSession& s, const std::string& f, const std::string& t) { s.tiroSet(f, t); }
void tiroLeave(PageSession& s, const std::string& f) { s.tiroLeave(f); }
void tiroChoose(PageSession& s, const std::string& w, const std::string& v) { s.tiroChoose(w, v); }
void tiroSensor(PageSession& s, const std::string& w, const std::string& v) { s.tiroSensor(w, v); }

} // namespace

EMSCRIPTEN_BINDINGS(siacci)
{
    emscripten::function("run", &run);
    emscripten::class_<PageSession>("PageSession")
        .constructor(&openSession)
        .function("takeWrites", &takeWrites)
        .function("cardSet", &cardSet)
        .function("cardLeave", &cardLeave)
        .function("cardNegate", &cardNegate)
        .function("cardChoose", &cardChoose)
        .function("useHand", &PageSession::useHand)
        .function("useCatalogue", &useCatalogue)
        .function("cardView", &PageSession::cardView)
        .function("hitStep", &PageSession::hitStep)
        .function("tableView", &PageSession::tableView)
        .function("catalogueView", &catalogueView)
        .function("catalogueLoads", &catalogueLoads)
        .function("armouryView", &PageSession::armouryView)
        .function("armouryChoose", &PageSession::armouryChoose)
        .function("armourySave", &armourySave)
        .function("armouryDelete", &PageSession::armouryDelete)
        .function("armouryImport", &armouryImport)
        .function("armouryImportQuestion", &armouryImportQuestion)
        .function("armouryExport", &PageSession::armouryExport)
        .function("truingSet", &truingSet)
        .function("truingSolve", &PageSession::truingSolve)
        .function("truingApply", &PageSession::truingApply)
        .function("tiroSet", &tiroSet)
        .function("tiroLeave", &tiroLeave)
        .function("tiroChoose", &tiroChoose)
        .function("tiroUseRange", &PageSession::tiroUseRange)
        .function("tiroSensor", &tiroSensor)
        .function("tiroView", &PageSession::tiroView);
}
