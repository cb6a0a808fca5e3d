#include "armoury/armoury_json.hpp"

#include "common/json.hpp"

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

Value loadJson(const Load& load)
{
    Value steps = Value::array();
    for (const auto& step : load.bcSteps)
        steps.push(Value::object().set("bc", step.bc_lbin2).set("from_velocity_ms", step.fromVelocity_ms));
    Value table = Value::array();
    for (const auto& point : load.dragTable)
        table.push(Value::object().set("mach", point.mach).set("cd", point.cd));
    return Value::object()
        .set("description", load.description)
        .set("velocity_ms", load.velocity_ms)
        .set("velocity_temperature_c", load.velocityTemperature_C)
        .set("temperature_sensitivity_ms_per_c", load.temperatureSensitivity_msPerC)
        .set("drag", dragName(load.drag))
        .set("bc", load.bc)
        .set("bc_steps", std::move(steps))
        .set("drag_table", std::move(table))
        .set("weight_gr", load.weight_gr)
        .set("diameter_mm", Value::optional(load.diameter_mm))
        .set("length_mm", Value::optional(load.length_mm))
        .set("notes", load.notes);
}

Value rifleJson(const Rifle& rifle)
{
    Value loads = Value::array();
    for (const Load& load : rifle.loads)
        loads.push(loadJson(load));
    return Value::object()
        .set("name", rifle.name)
        .set("sight_height_cm", rifle.sightHeight_cm)
        .set("twist_in", rifle.twist_in)
        .set("twist_right_hand", rifle.twistRightHand)
        .set("click_value", rifle.clickValue)
        .set("click_unit", rifle.clickUnit == pointmass::AngleUnit::Moa ? "moa" : "mrad")
        .set("turret_clicks_per_turn", rifle.turretClicksPerTurn ? Value(*rifle.turretClicksPerTurn) : Value())
        .set("zero_m", rifle.zero_m)
        .set("zero_atmosphere", Value::object()
                                    .set("temperature_c", rifle.zeroAtmosphere.temperature_C)
                                    .set("pressure_hpa", rifle.zeroAtmosphere.pressure_hPa)
                                    .set("humidity_pct", rifle.zeroAtmosphere.humidity_pct))
        .set("loads", std::move(loads));
}

// Reading: the first field that is missing or of the wrong kind stops the reading with its name.
struct Reader {
    std::string problem;

    bool failed() const { return !problem.empty(); }

    void fail(const std::string& where, const std::string& key)
    {
        if (problem.empty())
            problem = "il campo \"" + key + "\"" + (where.empty() ? std::string() : " di " + where) +
                      " manca o non è valido";
    }
    static const Value* field(const Value& o, const std::string& key)
    {
        return o.find(key);
    }
    static bool absent(const Value* v) { return !v || v->isNull(); }
    double number(const Value& o, const std::string& key, const std::string& where)
    {
        const Value* v = field(o, key);
        if (!v || !v->isNumber()) {
            fail(where, key);
            return 0;
        }
        return v->number();
    }
    std::optional<double> optionalNumber(const Value& o, const std::string& key, const std::string& where)
    {
        const Value* v = field(o, key);
        if (absent(v))
            return std::nullopt;
        if (!v->isNumber()) {
            fail(where, key);
            return std::nullopt;
        }
        return v->number();
    }
    std::string text(const Value& o, const std::string& key, const std::string& where, bool required)
    {
        const Value* v = field(o, key);
        if (!v || !v->isString()) {
            if (required || !absent(v))
                fail(where, key);
            return {};
        }
        return v->string();
    }
    const Value::Array& array(const Value& o, const std::string& key, const std::string& where, bool required)
    {
        static const Value::Array none;
        const Value* v = field(o, key);
        if (!v || !v->isArray()) {
            if (required || !absent(v))
                fail(where, key);
            return none;
        }
        return v->items();
    }

    Load load(const Value& o)
    {
        Load load;
        load.description = text(o, "description", "una carica", true);
        const std::string where = "\"" + load.description + "\"";
        load.velocity_ms = number(o, "velocity_ms", where);
        load.velocityTemperature_C = number(o, "velocity_temperature_c", where);
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
        for (const Value& step : array(o, "bc_steps", where, false)) {
            if (!step.isObject()) {
                fail(where, "bc_steps");
                break;
            }
            load.bcSteps.push_back({number(step, "bc", where), number(step, "from_velocity_ms", where)});
        }
        for (const Value& point : array(o, "drag_table", where, false)) {
            if (!point.isObject()) {
                fail(where, "drag_table");
                break;
            }
            load.dragTable.push_back({number(point, "mach", where), number(point, "cd", where)});
        }
        load.weight_gr = number(o, "weight_gr", where);
        load.diameter_mm = optionalNumber(o, "diameter_mm", where);
        load.length_mm = optionalNumber(o, "length_mm", where);
        load.notes = text(o, "notes", where, false);
        return load;
    }

    Rifle rifle(const Value& o)
    {
        Rifle rifle;
        rifle.name = text(o, "name", "un'arma", true);
        const std::string where = "\"" + rifle.name + "\"";
        rifle.sightHeight_cm = number(o, "sight_height_cm", where);
        rifle.twist_in = number(o, "twist_in", where);
        const Value* hand = field(o, "twist_right_hand");
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
            if (!(*clicks >= 1 && *clicks <= 100000) || *clicks != static_cast<int>(*clicks))
                fail(where, "turret_clicks_per_turn");
            else
                rifle.turretClicksPerTurn = static_cast<int>(*clicks);
        }
        rifle.zero_m = number(o, "zero_m", where);
        const Value* air = field(o, "zero_atmosphere");
        if (!air || !air->isObject()) {
            fail(where, "zero_atmosphere");
        } else {
            rifle.zeroAtmosphere = {number(*air, "temperature_c", where), number(*air, "pressure_hpa", where),
                                    number(*air, "humidity_pct", where)};
        }
        for (const Value& v : array(o, "loads", where, true)) {
            if (!v.isObject()) {
                fail(where, "loads");
                break;
            }
            rifle.loads.push_back(load(v));
            if (failed())
                break;
        }
        return rifle;
    }
};

} // namespace

std::string armouryToJson(const Armoury& armoury)
{
    Value rifles = Value::array();
    for (const Rifle& rifle : armoury.rifles)
        rifles.push(rifleJson(rifle));
    const Value root = Value::object()
                           .set("format", kFormatName)
                           .set("version", kSchemaVersion)
                           .set("rifles", std::move(rifles));
    return json::write(root, 4);
}

JsonReading armouryFromJson(std::string_view text)
{
    const json::Reading parsed = json::parse(text);
    if (!parsed.value || !parsed.value->isObject())
        return {std::nullopt, "il file non è un documento JSON valido (" +
                                  (parsed.value ? std::string("non è un oggetto") : parsed.problem) + ")"};
    const Value& root = *parsed.value;
    const Value* format = root.find("format");
    if (!format || !format->isString() || format->string() != kFormatName)
        return {std::nullopt, "il file non è un'armeria di Siacci"};
    const Value* version = root.find("version");
    if (!version || !version->isNumber() || version->number() < 1 ||
        version->number() != static_cast<double>(static_cast<long>(version->number())) || version->number() > 1e9)
        return {std::nullopt, "la versione del documento manca o non è valida"};
    const long v = static_cast<long>(version->number());
    if (v > kSchemaVersion)
        return {std::nullopt, "il documento è della versione " + std::to_string(v) +
                                  ", scritta da un programma più recente di questo"};
    const Value* rifles = root.find("rifles");
    if (!rifles || !rifles->isArray())
        return {std::nullopt, "manca l'elenco delle armi"};
    Reader reader;
    Armoury armoury;
    for (const Value& r : rifles->items()) {
        if (!r.isObject()) {
            reader.fail({}, "rifles");
            break;
        }
        armoury.rifles.push_back(reader.rifle(r));
        if (reader.failed())
            break;
    }
    if (reader.failed())
        return {std::nullopt, reader.problem};
    if (std::string problem = armouryProblem(armoury); !problem.empty())
        return {std::nullopt, problem};
    return {std::move(armoury), {}};
}

} // namespace siacci::armoury
