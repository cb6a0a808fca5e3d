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

#include <memory>
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
