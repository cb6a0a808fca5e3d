#include "armoury/qt_armoury_store.hpp"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace siacci::armoury {

namespace {

QString qs(const std::string& s)
{
    return QString::fromStdString(s);
}

QJsonValue optionalNumber(const std::optional<double>& value)
{
    return value ? QJsonValue(*value) : QJsonValue(QJsonValue::Null);
}

const char* dragName(LoadDrag drag)
{
    switch (drag) {
    case LoadDrag::G1: return "G1";
    case LoadDrag::G7: return "G7";
    case LoadDrag::Table: return "table";
    }
    return "G1";
}

QJsonObject loadJson(const Load& load)
{
    QJsonArray steps;
    for (const auto& step : load.bcSteps)
        steps.append(QJsonObject{{"bc", step.bc_lbin2}, {"from_velocity_ms", step.fromVelocity_ms}});
    QJsonArray table;
    for (const auto& point : load.dragTable)
        table.append(QJsonObject{{"mach", point.mach}, {"cd", point.cd}});
    return QJsonObject{
        {"description", qs(load.description)},
        {"velocity_ms", load.velocity_ms},
        {"velocity_temperature_c", load.velocityTemperature_C},
        {"temperature_sensitivity_ms_per_c", load.temperatureSensitivity_msPerC},
        {"drag", dragName(load.drag)},
        {"bc", load.bc},
        {"bc_steps", steps},
        {"drag_table", table},
        {"weight_gr", load.weight_gr},
        {"diameter_mm", optionalNumber(load.diameter_mm)},
        {"length_mm", optionalNumber(load.length_mm)},
        {"notes", qs(load.notes)},
    };
}

QJsonObject rifleJson(const Rifle& rifle)
{
    QJsonArray loads;
    for (const Load& load : rifle.loads)
        loads.append(loadJson(load));
    return QJsonObject{
        {"name", qs(rifle.name)},
        {"sight_height_cm", rifle.sightHeight_cm},
        {"twist_in", rifle.twist_in},
        {"twist_right_hand", rifle.twistRightHand},
        {"click_value", rifle.clickValue},
        {"click_unit", rifle.clickUnit == pointmass::AngleUnit::Moa ? "moa" : "mrad"},
        {"turret_clicks_per_turn", rifle.turretClicksPerTurn ? QJsonValue(*rifle.turretClicksPerTurn)
                                                             : QJsonValue(QJsonValue::Null)},
        {"zero_m", rifle.zero_m},
        {"zero_atmosphere", QJsonObject{{"temperature_c", rifle.zeroAtmosphere.temperature_C},
                                        {"pressure_hpa", rifle.zeroAtmosphere.pressure_hPa},
                                        {"humidity_pct", rifle.zeroAtmosphere.humidity_pct}}},
        {"loads", loads},
    };
}

// Reading: the first field that is missing or of the wrong kind stops the reading with its name.
struct Reader {
    std::string problem;

    bool failed() const { return !problem.empty(); }

    void fail(const QString& where, const QString& key)
    {
        if (problem.empty())
            problem = "il campo \"" + key.toStdString() + "\"" +
                      (where.isEmpty() ? std::string() : " di " + where.toStdString()) +
                      " manca o non è valido";
    }
    double number(const QJsonObject& o, const QString& key, const QString& where)
    {
        const QJsonValue v = o.value(key);
        if (!v.isDouble()) {
            fail(where, key);
            return 0;
        }
        return v.toDouble();
    }
    std::optional<double> optionalNumber(const QJsonObject& o, const QString& key, const QString& where)
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined() || v.isNull())
            return std::nullopt;
        if (!v.isDouble()) {
            fail(where, key);
            return std::nullopt;
        }
        return v.toDouble();
    }
    std::string text(const QJsonObject& o, const QString& key, const QString& where, bool required)
    {
        const QJsonValue v = o.value(key);
        if (!v.isString()) {
            if (required || !(v.isUndefined() || v.isNull()))
                fail(where, key);
            return {};
        }
        return v.toString().toStdString();
    }
    QJsonArray array(const QJsonObject& o, const QString& key, const QString& where, bool required)
    {
        const QJsonValue v = o.value(key);
        if (!v.isArray()) {
            if (required || !(v.isUndefined() || v.isNull()))
                fail(where, key);
            return {};
        }
        return v.toArray();
    }

    Load load(const QJsonObject& o)
    {
        Load load;
        load.description = text(o, "description", "una carica", true);
        const QString where = "\"" + qs(load.description) + "\"";
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
        for (const QJsonValue& v : array(o, "bc_steps", where, false)) {
            const QJsonObject step = v.toObject();
            load.bcSteps.push_back({number(step, "bc", where), number(step, "from_velocity_ms", where)});
        }
        for (const QJsonValue& v : array(o, "drag_table", where, false)) {
            const QJsonObject point = v.toObject();
            load.dragTable.push_back({number(point, "mach", where), number(point, "cd", where)});
        }
        load.weight_gr = number(o, "weight_gr", where);
        load.diameter_mm = optionalNumber(o, "diameter_mm", where);
        load.length_mm = optionalNumber(o, "length_mm", where);
        load.notes = text(o, "notes", where, false);
        return load;
    }

    Rifle rifle(const QJsonObject& o)
    {
        Rifle rifle;
        rifle.name = text(o, "name", "un'arma", true);
        const QString where = "\"" + qs(rifle.name) + "\"";
        rifle.sightHeight_cm = number(o, "sight_height_cm", where);
        rifle.twist_in = number(o, "twist_in", where);
        const QJsonValue hand = o.value("twist_right_hand");
        if (hand.isBool())
            rifle.twistRightHand = hand.toBool();
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
            if (*clicks != static_cast<int>(*clicks))
                fail(where, "turret_clicks_per_turn");
            else
                rifle.turretClicksPerTurn = static_cast<int>(*clicks);
        }
        rifle.zero_m = number(o, "zero_m", where);
        const QJsonValue air = o.value("zero_atmosphere");
        if (!air.isObject()) {
            fail(where, "zero_atmosphere");
        } else {
            const QJsonObject a = air.toObject();
            rifle.zeroAtmosphere = {number(a, "temperature_c", where), number(a, "pressure_hpa", where),
                                    number(a, "humidity_pct", where)};
        }
        for (const QJsonValue& v : array(o, "loads", where, true)) {
            if (!v.isObject()) {
                fail(where, "loads");
                break;
            }
            rifle.loads.push_back(load(v.toObject()));
        }
        return rifle;
    }
};

QString dataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

} // namespace

QByteArray toJson(const Armoury& armoury)
{
    QJsonArray rifles;
    for (const Rifle& rifle : armoury.rifles)
        rifles.append(rifleJson(rifle));
    const QJsonObject root{{"format", QString::fromUtf8(kFormatName.data(), kFormatName.size())},
                           {"version", kSchemaVersion},
                           {"rifles", rifles}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

JsonReading fromJson(const QByteArray& json)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (doc.isNull() || !doc.isObject())
        return {std::nullopt, "il file non è un documento JSON valido (" + error.errorString().toStdString() + ")"};
    const QJsonObject root = doc.object();
    if (root.value("format").toString() != QString::fromUtf8(kFormatName.data(), kFormatName.size()))
        return {std::nullopt, "il file non è un'armeria di Siacci"};
    const QJsonValue version = root.value("version");
    if (!version.isDouble() || version.toDouble() < 1 || version.toDouble() != version.toInt())
        return {std::nullopt, "la versione del documento manca o non è valida"};
    if (version.toInt() > kSchemaVersion)
        return {std::nullopt, "il documento è della versione " + std::to_string(version.toInt()) +
                                  ", scritta da un programma più recente di questo"};
    const QJsonValue rifles = root.value("rifles");
    if (!rifles.isArray())
        return {std::nullopt, "manca l'elenco delle armi"};
    Reader reader;
    Armoury armoury;
    for (const QJsonValue& v : rifles.toArray()) {
        if (!v.isObject()) {
            reader.fail({}, "rifles");
            break;
        }
        armoury.rifles.push_back(reader.rifle(v.toObject()));
        if (reader.failed())
            break;
    }
    if (reader.failed())
        return {std::nullopt, reader.problem};
    if (std::string problem = armouryProblem(armoury); !problem.empty())
        return {std::nullopt, problem};
    return {std::move(armoury), {}};
}

JsonReading readDocument(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, "il file non si apre (" + file.errorString().toStdString() + ")"};
    // An armoury is a few kilobytes; a file far larger is not one.
    constexpr qint64 kLargest = 16 * 1024 * 1024;
    if (file.size() > kLargest)
        return {std::nullopt, "il file è troppo grande per essere un'armeria"};
    return fromJson(file.readAll());
}

std::string writeDocument(const QString& path, const Armoury& armoury)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return "\"" + path.toStdString() + "\" non è un file";
    QDir().mkpath(info.absolutePath());
    QSaveFile file(path);
    const QByteArray json = toJson(armoury);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
        return "il file \"" + path.toStdString() + "\" non si scrive (" + file.errorString().toStdString() + ")";
    return {};
}

QString QtArmouryStore::defaultPath()
{
    return dataFolder() + "/armeria.json";
}

QtArmouryStore::QtArmouryStore(QString path) : m_path(std::move(path))
{
}

QtArmouryStore::Opening QtArmouryStore::open(const QDateTime& now)
{
    if (!QFileInfo::exists(m_path))
        return {};
    JsonReading reading = readDocument(m_path);
    if (reading.armoury)
        return {std::move(*reading.armoury), {}};
    QString aside = m_path + ".illeggibile-" + now.toString("yyyy-MM-dd-HHmmss");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = m_path + ".illeggibile-" + now.toString("yyyy-MM-dd-HHmmss") + "-" + QString::number(n);
    if (!QFile::rename(m_path, aside)) {
        // It could not be moved: keep it where it is and never write over it in this run.
        m_blocked = "il documento illeggibile \"" + m_path.toStdString() + "\" non è stato spostato";
        return {{}, "L'armeria non si legge (" + reading.problem + ") e non è stato possibile "
                    "metterla da parte: le modifiche di questa sessione non saranno salvate."};
    }
    return {{}, "L'armeria non si legge (" + reading.problem + "). Il file è stato conservato come \"" +
                    aside.toStdString() + "\"; si parte con un'armeria vuota."};
}

std::string QtArmouryStore::save(const Armoury& armoury)
{
    if (!m_blocked.empty())
        return m_blocked;
    return writeDocument(m_path, armoury);
}

} // namespace siacci::armoury
