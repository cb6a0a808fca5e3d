#include "armoury/armoury_document.hpp"

#include "common/json.hpp"

#include <cmath>
#include <vector>

namespace siacci::armoury {

namespace {

using json::Value;

const char* dragName(LoadDrag drag)
{
    switch (drag) {
    case LoadDrag::G1: return "G1";
    case LoadDrag::G7: return "G7";
    case LoadDrag::Table: return "table";
    }
    return "G1";
}

// Keys in alphabetical order, as the documents of earlier versions had them.
Value loadValue(const Load& load)
{
    Value steps = Value::array();
    for (const auto& step : load.bcSteps)
        steps.push(Value::object().set("bc", step.bc_lbin2).set("from_velocity_ms", step.fromVelocity_ms));
    Value table = Value::array();
    for (const auto& point : load.dragTable)
        table.push(Value::object().set("cd", point.cd).set("mach", point.mach));
    Value value = Value::object();
    value.set("bc", load.bc)
        .set("bc_steps", std::move(steps))
        .set("description", load.description)
        .set("diameter_mm", Value::optional(load.diameter_mm))
        .set("drag", dragName(load.drag))
        .set("drag_table", std::move(table))
        .set("length_mm", Value::optional(load.length_mm))
        .set("notes", load.notes)
        .set("temperature_sensitivity_ms_per_c", load.temperatureSensitivity_msPerC)
        .set("velocity_ms", load.velocity_ms);
    // Written only when measured: a document without it reads back byte for byte.
    if (load.velocitySd_ms)
        value.set("velocity_sd_ms", *load.velocitySd_ms);
    value.set("velocity_temperature_c", load.velocityTemperature_C)
        .set("weight_gr", load.weight_gr);
    return value;
}

Value scopeValue(const card::ScopeSetup& scope)
{
    Value marks = Value::array();
    for (double mark : scope.customMarks)
        marks.push(mark);
    return Value::object()
        .set("calibrated_magnification", scope.calibratedMagnification)
        .set("custom_marks", std::move(marks))
        .set("custom_unit", scope.customUnit == card::ReticleUnit::Moa ? "moa" : "mrad")
        .set("focal_plane", scope.plane == card::FocalPlane::First ? "first" : "second")
        .set("magnification", scope.magnification)
        .set("post_tip_moa", scope.postTip)
        .set("reticle", scope.reticle);
}

Value rifleValue(const Rifle& rifle)
{
    Value loads = Value::array();
    for (const Load& load : rifle.loads)
        loads.push(loadValue(load));
    return Value::object()
        .set("click_unit", rifle.clickUnit == pointmass::AngleUnit::Moa ? "moa" : "mrad")
        .set("click_value", rifle.clickValue)
        .set("loads", std::move(loads))
        .set("name", rifle.name)
        .set("scope", scopeValue(rifle.scope))
        .set("sight_height_cm", rifle.sightHeight_cm)
        .set("turret_clicks_per_turn", rifle.turretClicksPerTurn ? Value(*rifle.turretClicksPerTurn) : Value())
        .set("twist_in", rifle.twist_in)
        .set("twist_right_hand", rifle.twistRightHand)
        .set("zero_atmosphere", Value::object()
                                    .set("humidity_pct", rifle.zeroAtmosphere.humidity_pct)
                                    .set("pressure_hpa", rifle.zeroAtmosphere.pressure_hPa)
                                    .set("temperature_c", rifle.zeroAtmosphere.temperature_C))
        .set("zero_m", rifle.zero_m);
}

// --- reading the armoury out of the JSON value ----------------------------------------------

// The first field that is missing or of the wrong kind stops the reading with its name.
struct Reader {
    std::string problem;

    bool failed() const { return !problem.empty(); }

    void fail(const std::string& where, const std::string& key)
    {
        if (problem.empty())
            problem = "il campo \"" + key + "\"" + (where.empty() ? std::string() : " di " + where) +
                      " manca o non è valido";
    }
    double number(const Value& o, const std::string& key, const std::string& where)
    {
        const Value* v = o.find(key);
        if (!v || !v->isNumber()) {
            fail(where, key);
            return 0;
        }
        return v->number();
    }
    std::optional<double> optionalNumber(const Value& o, const std::string& key, const std::string& where)
    {
        const Value* v = o.find(key);
        if (!v || v->isNull())
            return std::nullopt;
        if (!v->isNumber()) {
            fail(where, key);
            return std::nullopt;
        }
        return v->number();
    }
    std::string text(const Value& o, const std::string& key, const std::string& where, bool required)
    {
        const Value* v = o.find(key);
        if (!v || !v->isString()) {
            if (required || (v && !v->isNull()))
                fail(where, key);
            return {};
        }
        return v->string();
    }
    // The array's objects; anything else in it fails the reading.
    std::vector<const Value*> objects(const Value& o, const std::string& key, const std::string& where,
                                     bool required)
    {
        std::vector<const Value*> out;
        const Value* v = o.find(key);
        if (!v || !v->isArray()) {
            if (required || (v && !v->isNull()))
                fail(where, key);
            return out;
        }
        for (const Value& item : v->items()) {
            if (!item.isObject()) {
                fail(where, key);
                return {};
            }
            out.push_back(&item);
        }
        return out;
    }

    Load load(const Value& o)
    {
        Load load;
        load.description = text(o, "description", "una carica", true);
        const std::string where = "\"" + load.description + "\"";
        load.velocity_ms = number(o, "velocity_ms", where);
        load.velocityTemperature_C = number(o, "velocity_temperature_c", where);
        load.velocitySd_ms = optionalNumber(o, "velocity_sd_ms", where);
        load.temperatureSensitivity_msPerC = number(o, "temperature_sensitivity_ms_per_c", where);
        const std::string drag = text(o, "drag", where, true);
        if (drag == "G1")
            load.drag = LoadDrag::G1;
        else if (drag == "G7")
            load.drag = LoadDrag::G7;
        else if (drag == "table")
            load.drag = LoadDrag::Table;
        else
            fail(where, "drag");
        load.bc = number(o, "bc", where);
        const auto steps = objects(o, "bc_steps", where, false);
        if (steps.size() > pointmass::kMaxBcSteps)
            fail(where, "bc_steps");
        for (const Value* step : steps)
            load.bcSteps.push_back({number(*step, "bc", where), number(*step, "from_velocity_ms", where)});
        const auto table = objects(o, "drag_table", where, false);
        if (table.size() > pointmass::kMaxDragTablePoints)
            fail(where, "drag_table");
        for (const Value* point : table)
            load.dragTable.push_back({number(*point, "mach", where), number(*point, "cd", where)});
        load.weight_gr = number(o, "weight_gr", where);
        load.diameter_mm = optionalNumber(o, "diameter_mm", where);
        load.length_mm = optionalNumber(o, "length_mm", where);
        load.notes = text(o, "notes", where, false);
        return load;
    }

    // A document of before the scopes has none: the rifle keeps the default scope, and so does
    // a key of the scope that is missing.
    card::ScopeSetup scope(const Value& o, const std::string& where)
    {
        card::ScopeSetup scope;
        if (!o.isObject()) {
            fail(where, "scope");
            return scope;
        }
        const auto numberOr = [&](const char* key, double fallback) {
            const Value* v = o.find(key);
            if (!v)
                return fallback;
            if (!v->isNumber())
                fail(where, key);
            return v->number();
        };
        const auto word = [&](const char* key, const char* first, const char* second, bool& isFirst) {
            const Value* v = o.find(key);
            if (!v)
                return;
            if (!v->isString() || (v->string() != first && v->string() != second))
                fail(where, key);
            else
                isFirst = v->string() == first;
        };
        if (const Value* v = o.find("reticle")) {
            if (!v->isString())
                fail(where, "reticle");
            else
                scope.reticle = v->string();
        }
        bool firstPlane = scope.plane == card::FocalPlane::First;
        word("focal_plane", "first", "second", firstPlane);
        scope.plane = firstPlane ? card::FocalPlane::First : card::FocalPlane::Second;
        bool moa = scope.customUnit == card::ReticleUnit::Moa;
        word("custom_unit", "moa", "mrad", moa);
        scope.customUnit = moa ? card::ReticleUnit::Moa : card::ReticleUnit::Mrad;
        scope.calibratedMagnification = numberOr("calibrated_magnification", scope.calibratedMagnification);
        scope.magnification = numberOr("magnification", scope.magnification);
        scope.postTip = numberOr("post_tip_moa", scope.postTip);
        if (const Value* marks = o.find("custom_marks")) {
            if (!marks->isArray() || marks->items().size() > 40) {
                fail(where, "custom_marks");
            } else {
                scope.customMarks.clear();
                for (const Value& m : marks->items()) {
                    if (!m.isNumber()) {
                        fail(where, "custom_marks");
                        break;
                    }
                    scope.customMarks.push_back(m.number());
                }
            }
        }
        return scope;
    }

    Rifle rifle(const Value& o)
    {
        Rifle rifle;
        rifle.name = text(o, "name", "un'arma", true);
        const std::string where = "\"" + rifle.name + "\"";
        rifle.sightHeight_cm = number(o, "sight_height_cm", where);
        rifle.twist_in = number(o, "twist_in", where);
        const Value* hand = o.find("twist_right_hand");
        if (hand && hand->isBool())
            rifle.twistRightHand = hand->boolean();
        else
            fail(where, "twist_right_hand");
        rifle.clickValue = number(o, "click_value", where);
        const std::string unit = text(o, "click_unit", where, true);
        if (unit == "moa")
            rifle.clickUnit = pointmass::AngleUnit::Moa;
        else if (unit == "mrad")
            rifle.clickUnit = pointmass::AngleUnit::Mrad;
        else
            fail(where, "click_unit");
        if (const auto clicks = optionalNumber(o, "turret_clicks_per_turn", where)) {
            // Within an int before the conversion: 1e300 is no number of clicks.
            if (!(*clicks >= 1 && *clicks <= 1000) || *clicks != std::floor(*clicks))
                fail(where, "turret_clicks_per_turn");
            else
                rifle.turretClicksPerTurn = static_cast<int>(*clicks);
        }
        rifle.zero_m = number(o, "zero_m", where);
        const Value* air = o.find("zero_atmosphere");
        if (!air || !air->isObject())
            fail(where, "zero_atmosphere");
        else
            rifle.zeroAtmosphere = {number(*air, "temperature_c", where), number(*air, "pressure_hpa", where),
                                    number(*air, "humidity_pct", where)};
        if (const Value* scope = o.find("scope"))
            rifle.scope = this->scope(*scope, where);
        for (const Value* load : objects(o, "loads", where, true)) {
            rifle.loads.push_back(this->load(*load));
            if (failed())
                break;
        }
        return rifle;
    }
};

} // namespace

std::string documentJson(const Armoury& armoury)
{
    Value rifles = Value::array();
    for (const Rifle& rifle : armoury.rifles)
        rifles.push(rifleValue(rifle));
    return json::write(Value::object()
                           .set("format", kFormatName)
                           .set("rifles", std::move(rifles))
                           .set("version", kSchemaVersion),
                       4);
}

DocumentReading readDocumentJson(std::string_view text)
{
    if (text.size() > kArmouryMaxBytes)
        return {std::nullopt, "il file è troppo grande per essere un'armeria"};
    const json::Reading doc = json::parse(text);
    if (!doc.value)
        return {std::nullopt, "il file non è un documento JSON valido (" + doc.problem + ")"};
    const Value* format = doc.value->find("format");
    if (!format || !format->isString() || format->string() != kFormatName)
        return {std::nullopt, "il file non è un'armeria di Siacci"};
    const Value* version = doc.value->find("version");
    if (!version || !version->isNumber() || !(version->number() >= 1) ||
        version->number() != std::floor(version->number()))
        return {std::nullopt, "la versione del documento manca o non è valida"};
    if (version->number() > kSchemaVersion)
        return {std::nullopt, "il documento è della versione " +
                                  (version->number() < 1e9 ? std::to_string(static_cast<long>(version->number()))
                                                           : std::string("?")) +
                                  ", scritta da un programma più recente di questo"};
    const Value* rifles = doc.value->find("rifles");
    if (!rifles || !rifles->isArray())
        return {std::nullopt, "manca l'elenco delle armi"};
    Reader reader;
    Armoury armoury;
    for (const Value& v : rifles->items()) {
        if (!v.isObject()) {
            reader.fail({}, "rifles");
            break;
        }
        armoury.rifles.push_back(reader.rifle(v));
        if (reader.failed())
            break;
    }
    if (reader.failed())
        return {std::nullopt, reader.problem};
    if (std::string problem = armouryProblem(armoury); !problem.empty())
        return {std::nullopt, problem};
    return {std::move(armoury), {}};
}

NormalisedDocument normaliseDocumentJson(std::string_view json)
{
    DocumentReading reading = readDocumentJson(json);
    if (!reading.armoury)
        return {{}, std::move(reading.problem)};
    return {documentJson(*reading.armoury), {}};
}

} // namespace siacci::armoury
