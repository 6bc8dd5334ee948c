// CASE.lim: TOML read with toml++. Every fault is collected (unknown keys, wrong types, values
// out of range, missing keys) so that one run lists them all, each with its line and key.

#include "limits.hpp"
#include "inputFile.hpp"

#include <toml++/toml.h>

#include <cmath>
#include <fstream>
#include <set>
#include <sstream>

namespace tarnova::collaudo {

namespace {

int lineOf(const toml::source_region& where) { return static_cast<int>(where.begin.line); }

class Reader {
public:
    explicit Reader(std::vector<LimitsFault>& faults) : faults_(faults) {}

    void fault(int line, std::string key, std::string message)
    {
        faults_.push_back({line, std::move(key), std::move(message)});
    }

    // Every key of `table` not in `known` is a fault.
    void onlyKnown(const toml::table& table, const std::string& prefix, std::initializer_list<std::string_view> known)
    {
        for (const auto& [key, node] : table) {
            bool found = false;
            for (std::string_view k : known) found = found || key.str() == k;
            if (!found) fault(lineOf(key.source()), prefix + std::string(key.str()), "unknown key");
        }
    }

    // A number (integer or float) >= lowest; `required` keys that are missing are faults.
    void number(const toml::table& table, const std::string& prefix, std::string_view key, double& out,
                bool required, double lowest, bool strictlyAbove, int tableLine)
    {
        const toml::node* node = table.get(key);
        const std::string name = prefix + std::string(key);
        if (node == nullptr) {
            if (required) fault(tableLine, name, "missing (a number is needed)");
            return;
        }
        std::optional<double> value;
        if (auto i = node->as_integer()) value = static_cast<double>(i->get());
        else if (auto f = node->as_floating_point()) value = f->get();
        if (!value) {
            fault(lineOf(node->source()), name, "not a number");
            return;
        }
        if (!std::isfinite(*value)) {
            fault(lineOf(node->source()), name, "not a finite number");
            return;
        }
        if (strictlyAbove ? *value <= lowest : *value < lowest) {
            std::ostringstream text;
            text << (strictlyAbove ? "must be above " : "must not be below ") << lowest << " (is " << *value << ")";
            fault(lineOf(node->source()), name, text.str());
            return;
        }
        out = *value;
    }

    bool text(const toml::table& table, const std::string& prefix, std::string_view key, std::string& out,
              bool required, int tableLine)
    {
        const toml::node* node = table.get(key);
        const std::string name = prefix + std::string(key);
        if (node == nullptr) {
            if (required) fault(tableLine, name, "missing (a text is needed)");
            return false;
        }
        auto s = node->as_string();
        if (!s) {
            fault(lineOf(node->source()), name, "not a text");
            return false;
        }
        out = s->get();
        return true;
    }

    // A case study by its letter ("A") or number (1); 0 when missing or wrong.
    int study(const toml::table& table, const std::string& prefix, int studyCount)
    {
        const toml::node* node = table.get("study");
        if (node == nullptr) return 0;
        const std::string name = prefix + "study";
        int k = 0;
        if (auto i = node->as_integer()) {
            k = i->get() >= 1 && i->get() <= 99 ? static_cast<int>(i->get()) : -1;
        } else if (auto s = node->as_string()) {
            const std::string& v = s->get();
            k = v.size() == 1 && v[0] >= 'A' && v[0] <= 'Z' ? v[0] - 'A' + 1 : -1;
        } else {
            fault(lineOf(node->source()), name, "not a case study (a letter such as \"A\" or a number)");
            return 0;
        }
        if (k < 1 || k > studyCount) {
            fault(lineOf(node->source()), name,
                  "no such case study (CASE.ana has " + std::to_string(studyCount) + ")");
            return 0;
        }
        return k;
    }

private:
    std::vector<LimitsFault>& faults_;
};

// Names become folder and file names (CASE_<damage>/) and CSV fields: letters, digits, "-", "_".
bool usableName(const std::string& name)
{
    if (name.empty() || name.size() > 32) return false;
    for (char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                        c == '_';
        if (!ok) return false;
    }
    return true;
}

void readCondition(Reader& r, const toml::table& t, const std::string& prefix, Condition& c)
{
    const int line = lineOf(t.source());
    r.onlyKnown(t, prefix,
                {"name", "msw_hogging", "msw_sagging", "mwv_hogging", "mwv_sagging", "gamma_s", "gamma_w", "gamma_m",
                 "gamma_db_hogging", "gamma_db_sagging"});
    if (r.text(t, prefix, "name", c.name, true, line) && !usableName(c.name))
        r.fault(lineOf(t.get("name")->source()), prefix + "name",
                "use 1 to 32 letters, digits, '-' or '_' (it names rows and files)");
    r.number(t, prefix, "msw_hogging", c.mswHogging, true, 0, false, line);
    r.number(t, prefix, "msw_sagging", c.mswSagging, true, 0, false, line);
    r.number(t, prefix, "mwv_hogging", c.mwvHogging, true, 0, false, line);
    r.number(t, prefix, "mwv_sagging", c.mwvSagging, true, 0, false, line);
    r.number(t, prefix, "gamma_s", c.gammaS, false, 0, false, line);
    r.number(t, prefix, "gamma_w", c.gammaW, false, 0, false, line);
    r.number(t, prefix, "gamma_m", c.gammaM, false, 0, true, line);
    r.number(t, prefix, "gamma_db_hogging", c.gammaDbHogging, false, 0, true, line);
    r.number(t, prefix, "gamma_db_sagging", c.gammaDbSagging, false, 0, true, line);
}

void readDamage(Reader& r, const toml::table& t, const std::string& prefix, Damage& d)
{
    const int line = lineOf(t.source());
    r.onlyKnown(t, prefix,
                {"name", "kind", "side", "x_min", "x_max", "y_min", "y_max", "gamma_s", "gamma_w", "gamma_rd", "c_na"});
    if (r.text(t, prefix, "name", d.name, true, line) && !usableName(d.name))
        r.fault(lineOf(t.get("name")->source()), prefix + "name",
                "use 1 to 32 letters, digits, '-' or '_' (it names the damaged case's folder)");
    std::string kind;
    if (r.text(t, prefix, "kind", kind, true, line)) {
        if (kind == "collision") d.kind = DamageKind::collision;
        else if (kind == "grounding") d.kind = DamageKind::grounding;
        else if (kind == "box") d.kind = DamageKind::box;
        else r.fault(lineOf(t.get("kind")->source()), prefix + "kind", "must be \"collision\", \"grounding\" or \"box\"");
    }
    d.neutralAxis = d.kind == DamageKind::collision   ? ruleNeutralAxisCollision
                    : d.kind == DamageKind::grounding ? ruleNeutralAxisGrounding
                                                      : 1.0;
    const bool isBox = kind == "box", isCollision = kind == "collision";
    std::string side;
    if (t.get("side") != nullptr && !isCollision) {
        r.fault(lineOf(t.get("side")->source()), prefix + "side", "only a collision has a side");
    } else if (r.text(t, prefix, "side", side, isCollision, line)) {
        if (side == "port") d.starboard = false;
        else if (side == "starboard") d.starboard = true;
        else r.fault(lineOf(t.get("side")->source()), prefix + "side", "must be \"port\" or \"starboard\"");
    }
    for (std::string_view key : {"x_min", "x_max", "y_min", "y_max"}) {
        if (!isBox && t.get(key) != nullptr) {
            r.fault(lineOf(t.get(key)->source()), prefix + std::string(key),
                    "only a box takes extents (collision and grounding take the rule's)");
        }
    }
    if (isBox) {
        r.number(t, prefix, "x_min", d.xMin, true, -1e9, false, line);
        r.number(t, prefix, "x_max", d.xMax, true, -1e9, false, line);
        r.number(t, prefix, "y_min", d.yMin, true, -1e9, false, line);
        r.number(t, prefix, "y_max", d.yMax, true, -1e9, false, line);
        if (t.get("x_min") && t.get("x_max") && d.xMax < d.xMin)
            r.fault(lineOf(t.get("x_max")->source()), prefix + "x_max", "is below x_min");
        if (t.get("y_min") && t.get("y_max") && d.yMax < d.yMin)
            r.fault(lineOf(t.get("y_max")->source()), prefix + "y_max", "is below y_min");
    }
    r.number(t, prefix, "gamma_s", d.gammaS, false, 0, false, line);
    r.number(t, prefix, "gamma_w", d.gammaW, false, 0, false, line);
    r.number(t, prefix, "gamma_rd", d.gammaRD, false, 0, true, line);
    r.number(t, prefix, "c_na", d.neutralAxis, false, 0, true, line);
}

// An array of tables ([[condition]]); anything else under that key is a fault.
const toml::array* tablesOf(Reader& r, const toml::table& root, std::string_view key)
{
    const toml::node* node = root.get(key);
    if (node == nullptr) return nullptr;
    const toml::array* array = node->as_array();
    if (array == nullptr || !array->is_array_of_tables()) {
        r.fault(lineOf(node->source()), std::string(key), "must be tables: [[" + std::string(key) + "]]");
        return nullptr;
    }
    return array;
}

} // namespace

LimitsOutcome parseLimits(std::string_view text, int studyCount)
{
    LimitsOutcome out;
    Reader r(out.faults);
    toml::table root;
    try {
        root = toml::parse(text);
    } catch (const toml::parse_error& error) {
        r.fault(lineOf(error.source()), "", std::string(error.description()));
        return out;
    }
    Limits& limits = out.limits;
    r.onlyKnown(root, "", {"study", "condition", "damage", "interaction"});
    if (int k = r.study(root, "", studyCount)) limits.study = k;
    limits.interactionStudy = limits.study;

    if (const toml::array* conditions = tablesOf(r, root, "condition")) {
        std::set<std::string> names;
        for (std::size_t i = 0; i < conditions->size(); ++i) {
            const toml::table& t = *(*conditions)[i].as_table();
            Condition c;
            const std::string prefix = "condition[" + std::to_string(i + 1) + "].";
            readCondition(r, t, prefix, c);
            if (!c.name.empty() && !names.insert(c.name).second)
                r.fault(lineOf(t.source()), prefix + "name", "\"" + c.name + "\" names an earlier condition too");
            limits.conditions.push_back(c);
        }
    }
    if (const toml::array* damages = tablesOf(r, root, "damage")) {
        std::set<std::string> names;
        for (std::size_t i = 0; i < damages->size(); ++i) {
            const toml::table& t = *(*damages)[i].as_table();
            Damage d;
            const std::string prefix = "damage[" + std::to_string(i + 1) + "].";
            readDamage(r, t, prefix, d);
            if (!d.name.empty() && !names.insert(d.name).second)
                r.fault(lineOf(t.source()), prefix + "name", "\"" + d.name + "\" names an earlier damage too");
            limits.damages.push_back(d);
        }
    }
    if (const toml::node* node = root.get("interaction")) {
        if (const toml::table* t = node->as_table()) {
            r.onlyKnown(*t, "interaction.", {"angles", "study"});
            if (const toml::node* angles = t->get("angles")) {
                auto n = angles->as_integer();
                if (!n) {
                    r.fault(lineOf(angles->source()), "interaction.angles", "not a whole number");
                } else if (n->get() < 1 || n->get() > maxAngleCount) {
                    r.fault(lineOf(angles->source()), "interaction.angles",
                            "must be 1 to " + std::to_string(maxAngleCount) + " (is " + std::to_string(n->get()) + ")");
                } else {
                    limits.angleCount = static_cast<int>(n->get());
                }
            }
            if (int k = r.study(*t, "interaction.", studyCount)) limits.interactionStudy = k;
        } else {
            r.fault(lineOf(node->source()), "interaction", "must be a table: [interaction]");
        }
    }
    if (limits.conditions.empty() && out.faults.empty())
        r.fault(0, "condition", "no [[condition]]: nothing to check");
    return out;
}

LimitsOutcome readLimits(const std::string& path, int studyCount)
{
    if (const std::string refusal = inputFileRefusal(path); !refusal.empty()) {
        LimitsOutcome out;
        out.faults.push_back({0, "", refusal});
        return out;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        LimitsOutcome out;
        out.faults.push_back({0, "", "cannot be read"});
        return out;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parseLimits(text.str(), studyCount);
}

std::string faultList(const std::vector<LimitsFault>& faults, std::string_view fileName)
{
    std::string out;
    for (const LimitsFault& f : faults) {
        out += fileName;
        out += ':' + std::to_string(f.line) + ": ";
        if (!f.key.empty()) out += f.key + ": ";
        out += f.message + '\n';
    }
    return out;
}

} // namespace tarnova::collaudo
