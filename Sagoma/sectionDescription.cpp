#include "sectionDescription.hpp"
#include "inputFile.hpp"

#include "records/FixedText.hpp"
#include "records/Records.hpp"
#include "Tables.hpp"   // calcrun::elementFormat, optionFormat

#include <toml++/toml.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace tarnova::sagoma {

std::string Note::text() const
{
    std::string out = file;
    if (line > 0) out += ":" + std::to_string(line);
    out += ": ";
    if (!key.empty()) out += key + ": ";
    return out + what;
}

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double sameSpot = 1.0;          // mm: two corners closer than this are one
constexpr double axisWarning = 20.0;      // degrees from the nearest axis

std::string number(double v)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

// Edit distance, for "a typing slip of ...?" on unknown keys and names.
int distance(std::string_view a, std::string_view b)
{
    std::vector<int> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const int up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return row[b.size()];
}

std::string nearest(std::string_view word, const std::vector<std::string>& known)
{
    std::string best;
    int bestDistance = 3;
    for (const std::string& k : known) {
        const int d = distance(word, k);
        if (d < bestDistance) {
            bestDistance = d;
            best = k;
        }
    }
    return best;
}

int lineOf(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

struct Point {
    double x = 0, y = 0;
};

// A strake after reading, before its elements are placed.
struct Strake {
    int line = 0;
    std::string key;
    Point from, to;
    double thickness = 0;
    int steel = 0;                         // property set, from 1
    std::optional<ProfileShape> profile;   // none: bare plating
    int count = 0;                         // longitudinals or strips
    double spacing = 0;                    // or their spacing / strip width
    Point normal;                          // the side the longitudinals stand on
    bool cornerAtStart = false, cornerAtEnd = false;
    double cornerWidth = 0, cornerThickness = 0;   // 0: by the rule
    // Filled when placing: the gaps between each end and the nearest longitudinal.
    double startGap = 0, endGap = 0;
};

struct Corner {
    int line = 0;
    std::string key;
    Point at;
    double width = 0, thickness = 0;
    int steel = 0;
};

class Reader {
public:
    Reader(std::string_view fileName, BuildResult& result) : file_(fileName), result_(result) {}

    void error(int line, std::string key, std::string what)
    {
        result_.errors.push_back({file_, line, std::move(key), std::move(what)});
    }
    void warning(int line, std::string key, std::string what)
    {
        result_.warnings.push_back({file_, line, std::move(key), std::move(what)});
    }

    // Every key of `table` must be one of `known`; an unknown key is an error naming the nearest.
    void onlyKnownKeys(const toml::table& table, const std::string& where, const std::vector<std::string>& known)
    {
        for (auto&& [key, node] : table) {
            const std::string name(key.str());
            if (std::find(known.begin(), known.end(), name) != known.end()) continue;
            std::string what = "unknown key";
            const std::string guess = nearest(name, known);
            if (!guess.empty()) what += ": a typing slip of \"" + guess + "\"?";
            else {
                what += " (known here:";
                for (const std::string& k : known) what += " " + k;
                what += ")";
            }
            error(lineOf(node), where + name, what);
        }
    }

    std::optional<double> number(const toml::table& table, int tableLine, const std::string& where,
                                 const std::string& key, bool required)
    {
        const toml::node* node = table.get(key);
        if (!node) {
            if (required) error(tableLine, where + key, "missing (a number is needed)");
            return std::nullopt;
        }
        if (!node->is_number()) {
            error(lineOf(*node), where + key, "must be a number");
            return std::nullopt;
        }
        const double v = node->value<double>().value_or(0.0);
        if (!std::isfinite(v)) {
            error(lineOf(*node), where + key, "must be a finite number");
            return std::nullopt;
        }
        return v;
    }

    std::optional<double> positive(const toml::table& table, int tableLine, const std::string& where,
                                   const std::string& key, bool required, double largest)
    {
        auto v = number(table, tableLine, where, key, required);
        if (!v) return v;
        const int line = lineOf(*table.get(key));
        if (*v <= 0) {
            error(line, where + key, "must be above 0 (is " + sagoma::number(*v) + ")");
            return std::nullopt;
        }
        if (*v > largest) {
            error(line, where + key, sagoma::number(*v) + " does not fit its column (at most " +
                                         sagoma::number(largest) + ")");
            return std::nullopt;
        }
        return v;
    }

    std::optional<std::string> text(const toml::table& table, int tableLine, const std::string& where,
                                     const std::string& key, bool required)
    {
        const toml::node* node = table.get(key);
        if (!node) {
            if (required) error(tableLine, where + key, "missing (a text in quotes is needed)");
            return std::nullopt;
        }
        if (!node->is_string()) {
            error(lineOf(*node), where + key, "must be a text in quotes");
            return std::nullopt;
        }
        return node->value<std::string>();
    }

    std::optional<Point> point(const toml::table& table, int tableLine, const std::string& where,
                               const std::string& key)
    {
        const toml::node* node = table.get(key);
        if (!node) {
            error(tableLine, where + key, "missing (a point [x, y] in mm is needed)");
            return std::nullopt;
        }
        const toml::array* a = node->as_array();
        if (!a || a->size() != 2 || !(*a)[0].is_number() || !(*a)[1].is_number()) {
            error(lineOf(*node), where + key, "must be a point [x, y] of two numbers in mm");
            return std::nullopt;
        }
        Point p{(*a)[0].value<double>().value_or(0), (*a)[1].value<double>().value_or(0)};
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::fabs(p.x) > 9999999 || std::fabs(p.y) > 9999999) {
            error(lineOf(*node), where + key, "must lie within 9,999,999 mm of the origin (the .geo's column)");
            return std::nullopt;
        }
        return p;
    }

    // The array of tables `name` ([[name]]); a single [name] table is taken as one entry.
    std::vector<std::pair<const toml::table*, int>> entries(const toml::table& root, const std::string& name)
    {
        std::vector<std::pair<const toml::table*, int>> out;
        const toml::node* node = root.get(name);
        if (!node) return out;
        if (const toml::array* a = node->as_array()) {
            for (const toml::node& item : *a) {
                if (const toml::table* t = item.as_table()) out.emplace_back(t, lineOf(item));
                else error(lineOf(item), name, "each entry must be a table: write [[" + name + "]]");
            }
        } else if (const toml::table* t = node->as_table()) {
            out.emplace_back(t, lineOf(*node));
        } else {
            error(lineOf(*node), name, "must be a table: write [[" + name + "]]");
        }
        return out;
    }

private:
    std::string file_;
    BuildResult& result_;
};

bool wholeNumber(double v) { return v == std::floor(v); }

// The unit normal pointing to the side named, for a strake running along `d` (unit vector).
std::optional<Point> sideNormal(std::string_view side, Point d)
{
    if (side == "left") return Point{-d.y, d.x};
    if (side == "right") return Point{d.y, -d.x};
    if (side == "up") return Point{0, 1};
    if (side == "down") return Point{0, -1};
    if (side == "+x") return Point{1, 0};
    if (side == "-x") return Point{-1, 0};
    return std::nullopt;
}

// The nearest of the calculator's four stiffener directions: 1 -y, 2 +y, 3 -x, 4 +x.
int orientationOf(Point n)
{
    if (std::fabs(n.y) >= std::fabs(n.x)) return n.y < 0 ? 1 : 2;
    return n.x < 0 ? 3 : 4;
}

} // namespace

bool parseProfile(std::string_view text, ProfileShape& shape, std::string& problem)
{
    std::string s;
    for (char c : text) {
        if (c == 'X' || c == '*') c = 'x';
        if (c != ' ' && c != '\t') s += c;
    }
    auto numbers = [](std::string_view body, std::vector<char>& separators) {
        std::vector<double> values;
        std::size_t i = 0;
        while (i < body.size()) {
            const std::string rest(body.substr(i));
            char* end = nullptr;
            const double v = std::strtod(rest.c_str(), &end);
            if (end == rest.c_str()) return std::vector<double>{};
            values.push_back(v);
            i += static_cast<std::size_t>(end - rest.c_str());
            if (i < body.size()) {
                separators.push_back(body[i]);
                ++i;
                if (i == body.size()) return std::vector<double>{};
            }
        }
        return values;
    };
    std::vector<char> separators;
    const auto positiveAll = [](const std::vector<double>& v) {
        return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x) && x > 0; });
    };
    if (s.rfind("FB", 0) == 0) {
        const auto v = numbers(std::string_view(s).substr(2), separators);
        if (v.size() == 2 && separators == std::vector<char>{'x'} && positiveAll(v)) {
            shape = {v[0], v[1], 0, 0};
            return true;
        }
        problem = "a flat bar is written \"FB 250x12\" (height x thickness, mm)";
        return false;
    }
    if (s.rfind("L", 0) == 0) {
        const auto v = numbers(std::string_view(s).substr(1), separators);
        if (v.size() == 4 && separators == std::vector<char>{'x', 'x', '/'} && positiveAll(v)) {
            shape = {v[0], v[2], v[1], v[3]};
            return true;
        }
        problem = "an angle is written \"L 300x90x11/16\" (web height x flange width x web/flange thickness, mm)";
        return false;
    }
    if (s.rfind("T", 0) == 0) {
        const auto v = numbers(std::string_view(s).substr(1), separators);
        if (v.size() == 4 && separators == std::vector<char>{'x', '+', 'x'} && positiveAll(v)) {
            shape = {v[0], v[1], v[2], v[3]};
            return true;
        }
        problem = "a tee is written \"T 400x12+150x16\" (web height x thickness + flange width x thickness, mm)";
        return false;
    }
    if (s.rfind("HP", 0) == 0 || s.rfind("BP", 0) == 0 || s.rfind("B", 0) == 0) {
        problem = "a bulb flat is given as its equivalent angle, \"L 200x30x10/20\"";
        return false;
    }
    problem = "not a profile: write \"FB 250x12\", \"L 300x90x11/16\" or \"T 400x12+150x16\"";
    return false;
}

BuildResult buildSection(std::string_view text, std::string_view fileName)
{
    BuildResult result;
    Reader r(fileName, result);
    toml::table root;
    try {
        root = toml::parse(text, fileName);
    } catch (const toml::parse_error& e) {
        r.error(static_cast<int>(e.source().begin.line), "", "not valid TOML: " + std::string(e.description()));
        return result;
    }
    BuiltSection& out = result.section;
    r.onlyKnownKeys(root, "", {"section", "steel", "profile", "strake", "corner", "study"});

    // [section]
    bool half = false;
    std::optional<double> centreline;
    std::optional<double> breadth, depth;
    double frameSpacing = 0;
    if (const toml::node* node = root.get("section"); !node || !node->is_table()) {
        r.error(node ? lineOf(*node) : 0, "section", "missing: the description starts with a [section] table");
    } else {
        const toml::table& t = *node->as_table();
        const int line = lineOf(*node);
        const std::string w = "section.";
        r.onlyKnownKeys(t, w, {"title", "frame_spacing", "half", "centreline", "breadth", "depth", "header_value"});
        if (auto title = r.text(t, line, w, "title", true)) {
            if (title->size() > 80) r.error(lineOf(*t.get("title")), w + "title", "longer than the 80 characters of the .geo's first line");
            else if (title->find_first_of("\r\n") != std::string::npos) r.error(lineOf(*t.get("title")), w + "title", "must be one line");
            else out.title = *title;
        }
        frameSpacing = r.positive(t, line, w, "frame_spacing", true, 99999.9).value_or(0);
        if (const toml::node* h = t.get("half")) {
            if (!h->is_boolean()) r.error(lineOf(*h), w + "half", "must be true or false");
            else half = h->value<bool>().value_or(false);
        }
        breadth = r.positive(t, line, w, "breadth", false, 9999999);
        depth = r.positive(t, line, w, "depth", false, 9999999);
        centreline = r.number(t, line, w, "centreline", false);
        if (auto v = r.number(t, line, w, "header_value", false)) out.headerValue = *v;
        if (half && !centreline && !breadth)
            r.error(line, w + "centreline", "a half section needs the centreline's x (or the breadth: centreline at its half)");
        if (!half && centreline) r.warning(lineOf(*t.get("centreline")), w + "centreline", "ignored: the section is not a half (half = false)");
    }

    // [[steel]]
    std::map<std::string, int> steelSet;
    for (auto [t, line] : r.entries(root, "steel")) {
        const std::string w = "steel[" + std::to_string(out.steels.size() + 1) + "].";
        r.onlyKnownKeys(*t, w, {"name", "yield", "modulus"});
        Steel s;
        s.name = r.text(*t, line, w, "name", true).value_or("");
        s.yieldStress = r.positive(*t, line, w, "yield", true, 9999999).value_or(0);
        s.youngsModulus = r.positive(*t, line, w, "modulus", false, 9999999).value_or(206000.0);
        if (!s.name.empty() && steelSet.count(s.name)) r.error(line, w + "name", "\"" + s.name + "\" is named twice");
        out.steels.push_back(s);
        steelSet[s.name] = static_cast<int>(out.steels.size());
    }
    if (out.steels.empty()) r.error(0, "steel", "missing: at least one [[steel]] with name and yield");
    if (out.steels.size() > maxSteels)
        r.error(0, "steel", std::to_string(out.steels.size()) + " steels: the calculator takes at most 5");

    // [[profile]]: named shapes that strakes can refer to.
    std::map<std::string, ProfileShape> profiles;
    int profileIndex = 0;
    for (auto [t, line] : r.entries(root, "profile")) {
        const std::string w = "profile[" + std::to_string(++profileIndex) + "].";
        r.onlyKnownKeys(*t, w, {"name", "shape", "web_height", "web_thickness", "flange_width", "flange_thickness"});
        const std::string name = r.text(*t, line, w, "name", true).value_or("");
        ProfileShape shape;
        bool good = true;
        if (auto s = r.text(*t, line, w, "shape", false)) {
            std::string problem;
            if (!parseProfile(*s, shape, problem)) {
                r.error(lineOf(*t->get("shape")), w + "shape", problem);
                good = false;
            }
        } else {
            auto h = r.positive(*t, line, w, "web_height", true, 99999.9);
            auto tw = r.positive(*t, line, w, "web_thickness", true, 99999.9);
            auto fb = r.number(*t, line, w, "flange_width", false);
            auto tf = r.number(*t, line, w, "flange_thickness", false);
            good = h && tw;
            if (good) shape = {*h, *tw, fb.value_or(0), tf.value_or(0)};
            if ((fb.value_or(0) > 0) != (tf.value_or(0) > 0)) {
                r.error(line, w + "flange_width", "a flange needs both its width and its thickness");
                good = false;
            }
        }
        if (good && !name.empty()) {
            if (profiles.count(name)) r.error(line, w + "name", "\"" + name + "\" is named twice");
            profiles[name] = shape;
        }
    }

    auto steelOf = [&](const toml::table& t, int line, const std::string& w) {
        auto name = r.text(t, line, w, "steel", true);
        if (!name) return 0;
        if (auto it = steelSet.find(*name); it != steelSet.end()) return it->second;
        std::vector<std::string> names;
        for (const auto& [n, set] : steelSet) names.push_back(n);
        std::string what = "no [[steel]] is named \"" + *name + "\"";
        if (const std::string guess = nearest(*name, names); !guess.empty()) what += ": a typing slip of \"" + guess + "\"?";
        r.error(lineOf(*t.get("steel")), w + "steel", what);
        return 0;
    };

    // [[strake]] and [[corner]] in the order they are written: elements are numbered that way.
    std::vector<Strake> strakes;
    std::vector<Corner> corners;
    int strakeIndex = 0;
    for (auto [t, line] : r.entries(root, "strake")) {
        const std::string w = "strake[" + std::to_string(++strakeIndex) + "].";
        r.onlyKnownKeys(*t, w, {"name", "from", "to", "thickness", "steel", "profile", "count", "spacing", "strips",
                                "strip_width", "side", "corners", "corner_width", "corner_thickness"});
        Strake s;
        s.line = line;
        r.text(*t, line, w, "name", false);   // for the reader only: notes name strakes by number
        s.key = "strake[" + std::to_string(strakeIndex) + "]";
        const auto from = r.point(*t, line, w, "from");
        const auto to = r.point(*t, line, w, "to");
        s.thickness = r.positive(*t, line, w, "thickness", true, 99999.9).value_or(0);
        s.steel = steelOf(*t, line, w);
        bool good = from && to && s.thickness > 0 && s.steel > 0;
        double length = 0;
        Point d{1, 0};
        if (from && to) {
            s.from = *from;
            s.to = *to;
            length = std::hypot(to->x - from->x, to->y - from->y);
            if (length < sameSpot) {
                r.error(line, w + "to", "the strake ends where it starts (from and to less than 1 mm apart)");
                good = false;
            } else {
                d = {(to->x - from->x) / length, (to->y - from->y) / length};
                const double angle = std::atan2(std::fabs(d.y), std::fabs(d.x)) * 180 / pi;
                const double offAxis = std::min(angle, 90 - angle);
                if (offAxis > axisWarning)
                    r.warning(line, w + "to", "runs " + sagoma::number(std::round(offAxis)) +
                                                  " degrees from the nearest axis: the calculator bends its "
                                                  "longitudinals about x or y only");
            }
        }
        if (const toml::node* p = t->get("profile")) {
            const auto ptext = p->value<std::string>();
            if (!ptext) {
                r.error(lineOf(*p), w + "profile", "must be a text: a [[profile]] name or \"T 400x12+150x16\"");
                good = false;
            } else if (auto it = profiles.find(*ptext); it != profiles.end()) {
                s.profile = it->second;
            } else {
                ProfileShape shape;
                std::string problem;
                if (parseProfile(*ptext, shape, problem)) {
                    s.profile = shape;
                } else {
                    std::vector<std::string> names;
                    for (const auto& [n, shape2] : profiles) names.push_back(n);
                    const std::string guess = nearest(*ptext, names);
                    r.error(lineOf(*p), w + "profile",
                            "no [[profile]] is named \"" + *ptext + "\" and " + problem +
                                (guess.empty() ? "" : "; a typing slip of \"" + guess + "\"?"));
                    good = false;
                }
            }
        }
        // How many longitudinals (or strips) and where.
        const bool stiffened = s.profile.has_value() || t->get("count") || t->get("spacing");
        const std::string countKey = s.profile ? "count" : "strips";
        const std::string spacingKey = s.profile ? "spacing" : "strip_width";
        const std::string wrongCount = s.profile ? "strips" : "count";
        const std::string wrongSpacing = s.profile ? "strip_width" : "spacing";
        for (const std::string& k : {wrongCount, wrongSpacing})
            if (const toml::node* n = t->get(k)) {
                r.error(lineOf(*n), w + k, s.profile ? "a stiffened strake takes \"count\" or \"spacing\""
                                                     : (stiffened ? "\"" + k + "\" needs a \"profile\" for the longitudinals"
                                                                  : "bare plating takes \"strips\" or \"strip_width\""));
                good = false;
            }
        const toml::node* countNode = t->get(countKey);
        const toml::node* spacingNode = t->get(spacingKey);
        if (countNode && spacingNode) {
            r.error(lineOf(*spacingNode), w + spacingKey, "give either \"" + countKey + "\" or \"" + spacingKey + "\", not both");
            good = false;
        } else if (countNode) {
            const auto c = countNode->value<double>();
            if (!countNode->is_integer() || !c || *c < 1 || *c > maxElements) {
                r.error(lineOf(*countNode), w + countKey, "must be a whole number from 1 to 600");
                good = false;
            } else {
                s.count = static_cast<int>(*c);
            }
        } else if (spacingNode) {
            if (auto v = r.positive(*t, line, w, spacingKey, true, 99999.9)) {
                s.spacing = *v;
                if (length > 0 && s.profile && s.spacing >= length - sameSpot) {
                    r.error(lineOf(*spacingNode), w + spacingKey,
                            "the spacing " + sagoma::number(s.spacing) + " leaves no room for a longitudinal on a strake " +
                                sagoma::number(std::round(length * 10) / 10) + " mm long");
                    good = false;
                }
            } else {
                good = false;
            }
        } else if (!stiffened || s.profile) {
            r.error(line, w + countKey, "missing: give \"" + countKey + "\" or \"" + spacingKey + "\"");
            good = false;
        }
        // The side the longitudinals stand on.
        const auto side = r.text(*t, line, w, "side", s.profile.has_value());
        s.normal = Point{-d.y, d.x};   // bare plating without a side: the left
        if (side) {
            if (auto n = sideNormal(*side, d)) {
                const double along = std::fabs(n->x * d.x + n->y * d.y);
                if (along > std::cos(45 * pi / 180)) {
                    r.error(lineOf(*t->get("side")), w + "side", "\"" + *side + "\" lies along the strake, not on one of its sides");
                    good = false;
                }
                s.normal = *n;
            } else {
                r.error(lineOf(*t->get("side")), w + "side",
                        "must be \"left\" or \"right\" (looking from \"from\" to \"to\"), or \"up\", \"down\", \"+x\", \"-x\"");
                good = false;
            }
        }
        if (auto c = r.text(*t, line, w, "corners", false)) {
            if (*c == "start" || *c == "both") s.cornerAtStart = true;
            if (*c == "end" || *c == "both") s.cornerAtEnd = true;
            if (*c != "start" && *c != "end" && *c != "both" && *c != "none") {
                r.error(lineOf(*t->get("corners")), w + "corners", "must be \"none\", \"start\", \"end\" or \"both\"");
                good = false;
            }
        }
        s.cornerWidth = r.positive(*t, line, w, "corner_width", false, 99999.9).value_or(0);
        s.cornerThickness = r.positive(*t, line, w, "corner_thickness", false, 99999.9).value_or(0);
        if ((s.cornerWidth > 0 || s.cornerThickness > 0) && !s.cornerAtStart && !s.cornerAtEnd)
            r.warning(line, w + "corner_width", "ignored: the strake has no corners (corners = \"none\")");
        if (good) strakes.push_back(s);
        else strakes.push_back(Strake{});   // keeps the order; nothing is built from a description with errors
    }

    int cornerIndex = 0;
    for (auto [t, line] : r.entries(root, "corner")) {
        const std::string w = "corner[" + std::to_string(++cornerIndex) + "].";
        r.onlyKnownKeys(*t, w, {"at", "width", "thickness", "steel"});
        Corner c;
        c.line = line;
        c.key = "corner[" + std::to_string(cornerIndex) + "]";
        if (auto p = r.point(*t, line, w, "at")) c.at = *p;
        c.width = r.positive(*t, line, w, "width", true, 99999.9).value_or(0);
        c.thickness = r.positive(*t, line, w, "thickness", true, 99999.9).value_or(0);
        c.steel = steelOf(*t, line, w);
        corners.push_back(c);
    }

    // [[study]]
    int studyIndex = 0;
    for (auto [t, line] : r.entries(root, "study")) {
        const std::string w = "study[" + std::to_string(++studyIndex) + "].";
        r.onlyKnownKeys(*t, w, {"name", "heel", "modes", "after_collapse", "corrosion", "tension_block", "distortion"});
        Study s;
        const auto name = r.text(*t, line, w, "name", false);
        const auto heel = r.number(*t, line, w, "heel", false);
        if (name && *name == "sagging") s.heelAngle = 0;
        else if (name && *name == "hogging") s.heelAngle = 180;
        else if (!heel) r.error(line, w + "heel", "missing: a study not named \"sagging\" or \"hogging\" gives its heel angle in degrees");
        if (heel) {
            if (name && ((*name == "sagging" && *heel != 0) || (*name == "hogging" && *heel != 180)))
                r.error(lineOf(*t->get("heel")), w + "heel", "contradicts the name \"" + *name + "\" (sagging is 0, hogging 180)");
            if (*heel < -999.9 || *heel > 999.9) r.error(lineOf(*t->get("heel")), w + "heel", "must lie within -999.9 to 999.9 degrees (its column)");
            s.heelAngle = *heel;
        }
        if (auto m = r.text(*t, line, w, "modes", false)) {
            if (*m == "E") s.behaviourCode = 1;
            else if (*m == "B") s.behaviourCode = 2;
            else if (*m == "T") s.behaviourCode = 3;
            else r.error(lineOf(*t->get("modes")), w + "modes", "must be \"E\" (yielding only), \"B\" (and buckling) or \"T\" (and tripping)");
        }
        if (auto a = r.text(*t, line, w, "after_collapse", false)) {
            if (*a == "SHED") s.sheddingCode = 1;
            else if (*a == "CONST") s.sheddingCode = 2;
            else r.error(lineOf(*t->get("after_collapse")), w + "after_collapse", "must be \"SHED\" or \"CONST\"");
        }
        if (auto c = r.number(*t, line, w, "corrosion", false)) {
            if (*c < 0 || *c > 49.5 || !wholeNumber(*c * 2))
                r.error(lineOf(*t->get("corrosion")), w + "corrosion", "an allowance in mm, a multiple of 0.5 from 0 to 49.5");
            else s.corrosionCode = static_cast<int>(std::lround(*c * 2));
        }
        if (auto b = r.number(*t, line, w, "tension_block", false)) {
            if (*b < 0 || *b > 99.99) r.error(lineOf(*t->get("tension_block")), w + "tension_block", "must lie within 0 to 99.99 plate thicknesses");
            else s.tensionBlockWidth = *b;
        } else if (s.behaviourCode == 1) {
            s.tensionBlockWidth = 0;   // yielding only: no residual stress unless asked for
        }
        if (auto dc = r.number(*t, line, w, "distortion", false)) {
            if (*dc < 0 || *dc > 9.9999) r.error(lineOf(*t->get("distortion")), w + "distortion", "must lie within 0 to 9.9999");
            else s.distortionCoefficient = *dc;
        }
        out.studies.push_back(s);
    }
    if (out.studies.size() > maxStudies) r.error(0, "study", "more than 99 case studies");
    if (strakes.empty() && corners.empty()) r.error(0, "strake", "missing: the section needs at least one [[strake]]");

    if (!result.errors.empty()) return result;

    // Where each strake's longitudinals (or strips) go, and the gaps left at its ends.
    struct Placement {
        std::vector<double> at;      // distances from the start
        std::vector<double> width;   // plate width of each
    };
    std::vector<Placement> placements(strakes.size());
    for (std::size_t i = 0; i < strakes.size(); ++i) {
        Strake& s = strakes[i];
        Placement& p = placements[i];
        const double length = std::hypot(s.to.x - s.from.x, s.to.y - s.from.y);
        // A spacing far smaller than meant (a slip of units) must not place millions of elements.
        if (s.count == 0 && length / s.spacing > maxElements) {
            r.error(s.line, s.key + (s.profile ? ".spacing" : ".strip_width"),
                    sagoma::number(s.spacing) + " mm on a strake " + sagoma::number(std::round(length)) +
                        " mm long gives more than 600 elements: metres for millimetres?");
            continue;
        }
        if (!s.profile) {
            // Bare plating: equal strips covering the strake, each at its strip's centre.
            const int strips = s.count > 0 ? s.count : std::max(1, static_cast<int>(std::ceil(length / s.spacing - 1e-9)));
            for (int k = 0; k < strips; ++k) p.at.push_back((k + 0.5) / strips), p.width.push_back(length / strips);
            s.startGap = s.endGap = 0;
            continue;
        }
        if (s.count > 0) {
            // count longitudinals at equal spacings, none at the ends (the junctions).
            for (int k = 1; k <= s.count; ++k) p.at.push_back(static_cast<double>(k) / (s.count + 1));
            const double spacing = length / (s.count + 1);
            p.width.assign(static_cast<std::size_t>(s.count), spacing);
            s.startGap = s.endGap = spacing;
        } else {
            // At the spacing from the start; the last gap is what remains. Each longitudinal
            // carries half the plating on either side.
            std::vector<double> positions;
            for (int k = 1; k * s.spacing < length - sameSpot; ++k) positions.push_back(k * s.spacing);
            const double last = positions.back();
            for (std::size_t k = 0; k < positions.size(); ++k) {
                const double before = k == 0 ? positions[0] : positions[k] - positions[k - 1];
                const double after = k + 1 == positions.size() ? length - last : positions[k + 1] - positions[k];
                p.at.push_back(positions[k] / length);
                p.width.push_back((before + after) / 2);
            }
            s.startGap = positions[0];
            s.endGap = length - last;
            if (s.endGap < s.spacing / 4)
                r.warning(s.line, s.key + ".spacing", "the last longitudinal stands " + sagoma::number(std::round(s.endGap)) +
                                                       " mm from the strake's end: a spacing that divides the strake, or a count?");
        }
    }

    // Hard corners: one per spot. Their width by the rule is half the end gap of every strake
    // ending there (the plating the longitudinals do not carry), their thickness that of the
    // strake placing them.
    auto ruleWidth = [&](Point at) {
        double width = 0;
        for (const Strake& s : strakes) {
            if (!s.profile) continue;
            if (std::hypot(s.from.x - at.x, s.from.y - at.y) < sameSpot) width += s.startGap / 2;
            if (std::hypot(s.to.x - at.x, s.to.y - at.y) < sameSpot) width += s.endGap / 2;
        }
        return width;
    };
    std::vector<Point> placedCorners;
    auto cornerPlaced = [&](Point at) {
        for (const Point& q : placedCorners)
            if (std::hypot(q.x - at.x, q.y - at.y) < sameSpot) return true;
        return false;
    };
    auto addElement = [&](PlacedElement e) { out.elements.push_back(e); };

    // Strakes and corners merged by line.
    std::size_t si = 0, ci = 0;
    if (!result.errors.empty()) return result;
    while ((si < strakes.size() || ci < corners.size()) && out.elements.size() <= maxElements) {
        const bool takeCorner = ci < corners.size() && (si == strakes.size() || corners[ci].line < strakes[si].line);
        if (takeCorner) {
            const Corner& c = corners[ci++];
            PlacedElement e;
            e.frameSpacing = frameSpacing;
            e.plateWidth = c.width;
            e.plateThickness = c.thickness;
            e.propertySet = c.steel;
            e.x = c.at.x;
            e.y = c.at.y;
            e.orientation = 1;
            e.elementKind = 1;
            e.source = c.line;
            if (cornerPlaced(c.at)) r.warning(c.line, c.key, "a hard corner stands on this spot already: this one is a second element there");
            placedCorners.push_back(c.at);
            addElement(e);
            continue;
        }
        const Strake& s = strakes[si];
        const Placement& p = placements[si++];
        out.plating.push_back({s.from.x, s.from.y, s.to.x, s.to.y, s.thickness, s.steel});
        auto corner = [&](Point at) {
            if (cornerPlaced(at)) return;
            PlacedElement e;
            e.frameSpacing = frameSpacing;
            e.plateWidth = s.cornerWidth > 0 ? s.cornerWidth : ruleWidth(at);
            e.plateThickness = s.cornerThickness > 0 ? s.cornerThickness : s.thickness;
            e.propertySet = s.steel;
            e.x = at.x;
            e.y = at.y;
            e.orientation = 1;
            e.elementKind = 1;
            e.source = s.line;
            if (e.plateWidth <= 0) {
                r.error(s.line, s.key + ".corner_width",
                        "no longitudinal strake ends at the corner (" + sagoma::number(at.x) + ", " + sagoma::number(at.y) +
                            "), so its width cannot follow from the rule: give corner_width");
                return;
            }
            placedCorners.push_back(at);
            addElement(e);
        };
        if (s.cornerAtStart) corner(s.from);
        const int orientation = orientationOf(s.normal);
        const double dx = s.to.x - s.from.x, dy = s.to.y - s.from.y;
        const bool equal = s.count > 0;
        const int n = static_cast<int>(p.at.size());
        for (int k = 0; k < n; ++k) {
            PlacedElement e;
            e.frameSpacing = frameSpacing;
            e.plateWidth = p.width[static_cast<std::size_t>(k)];
            e.plateThickness = s.thickness;
            if (s.profile) {
                e.webHeight = s.profile->webHeight;
                e.webThickness = s.profile->webThickness;
                e.flangeWidth = s.profile->flangeWidth;
                e.flangeThickness = s.profile->flangeThickness;
            }
            e.propertySet = s.steel;
            // Equal divisions are stepped as from + k * (to - from) / divisions, which rounds the
            // same way whatever the strake's length.
            if (equal && s.profile) {
                const int divisions = s.count + 1;
                const double stepX = dx / divisions, stepY = dy / divisions;
                e.plateWidth = std::hypot(stepX, stepY);
                e.x = s.from.x + (k + 1) * stepX;
                e.y = s.from.y + (k + 1) * stepY;
            } else if (!s.profile) {
                const double stepX = dx / n, stepY = dy / n;
                e.plateWidth = std::hypot(stepX, stepY);
                e.x = s.from.x + (k + 0.5) * stepX;
                e.y = s.from.y + (k + 0.5) * stepY;
            } else {
                const double f = p.at[static_cast<std::size_t>(k)];
                e.x = s.from.x + f * dx;
                e.y = s.from.y + f * dy;
            }
            e.orientation = orientation;
            e.elementKind = 3;
            e.source = s.line;
            addElement(e);
        }
        if (s.cornerAtEnd) corner(s.to);
    }

    // One half mirrored about the centreline: every element off the centreline again on the
    // other side, its stiffener turned across; elements on the centreline once.
    if (half) {
        const double c = centreline ? *centreline : *breadth / 2;
        const std::size_t halfCount = out.elements.size();
        // A half lies on one side: elements on the other would be doubled over the first side's.
        std::size_t below = 0, above = 0;
        for (const PlacedElement& e : out.elements) {
            if (e.x < c - sameSpot / 2) ++below;
            if (e.x > c + sameSpot / 2) ++above;
        }
        if (below > 0 && above > 0) {
            const bool stray = above < below;
            for (const PlacedElement& e : out.elements)
                if (stray ? e.x > c + sameSpot / 2 : e.x < c - sameSpot / 2) {
                    r.warning(e.source, "section.centreline",
                              std::to_string(stray ? above : below) + " element(s) lie beyond the centreline x = " +
                                  sagoma::number(c) + " (the first at x = " + sagoma::number(e.x) +
                                  "): a half describes one side; they are mirrored onto the other");
                    break;
                }
        }
        for (std::size_t i = 0; i < halfCount; ++i) {
            PlacedElement e = out.elements[i];
            if (std::fabs(e.x - c) < sameSpot / 2) continue;
            e.x = 2 * c - e.x;
            if (e.orientation == 3) e.orientation = 4;
            else if (e.orientation == 4) e.orientation = 3;
            out.elements.push_back(e);
        }
        const std::size_t runs = out.plating.size();
        for (std::size_t i = 0; i < runs; ++i) {
            PlateRun m = out.plating[i];
            m.x0 = 2 * c - m.x0;
            m.x1 = 2 * c - m.x1;
            out.plating.push_back(m);
        }
    }

    if (out.elements.size() > maxElements) {
        const bool cut = si < strakes.size() || ci < corners.size();   // placing stopped early
        r.error(0, "strake", std::to_string(out.elements.size()) + (cut ? " elements and more" : " elements") +
                                 ": the calculator takes at most 600");
    }
    if (out.elements.empty()) r.error(0, "strake", "the description places no element");

    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (std::size_t i = 0; i < out.elements.size(); ++i) {
        const PlacedElement& e = out.elements[i];
        if (i == 0 || e.x < minX) minX = e.x;
        if (i == 0 || e.x > maxX) maxX = e.x;
        if (i == 0 || e.y < minY) minY = e.y;
        if (i == 0 || e.y > maxY) maxY = e.y;
    }
    out.breadth = breadth ? *breadth : maxX - minX;
    out.depth = depth ? *depth : maxY - minY;

    // The checks the calculator's --check makes, on the section as written.
    if (result.errors.empty()) {
        const SectionInput input = toSectionInput(out);
        for (const std::string& warning : sectionWarnings(input)) r.warning(0, "", warning);
    }
    return result;
}

BuildResult buildSectionFile(const std::string& path)
{
    // A directory, FIFO or device is refused before it is opened (a FIFO would block for ever).
    if (const std::string refusal = inputFileRefusal(path); !refusal.empty()) {
        BuildResult result;
        result.errors.push_back({path, 0, "", refusal});
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        BuildResult result;
        result.errors.push_back({path, 0, "", "cannot be read"});
        return result;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buildSection(buffer.str(), path);
}

namespace {

constexpr std::string_view recordEnd = "\r\n";
constexpr std::string_view headings =
    " FRSPAC PLWIDT PLTHIC FLWIDT FLTHIC WEBHEI WEBTHI PS SPR DPT        X        Y OR KD";
// The distortion coefficient is written as the classic files hold it: its digits without a
// point, read back with the 4 implied decimals of F5.4 (15 is 0.0015).
constexpr std::string_view optionWriteFormat = "(3I2,F5.2,F5.1,I5,F4.0)";

// The record engine leaves out the zero before the point of a value below 1 (".0"); the classic
// files have it wherever the field has room ("0.0"), except in the two F4.2 columns of an element
// record (" .00"). `zeroFields` lists the (start, width) of the fields that take it.
void addRecord(std::string& out, std::string_view format, std::initializer_list<WriteItem> items,
               std::initializer_list<std::pair<std::size_t, std::size_t>> zeroFields = {})
{
    FixedText text(200);
    formatToText(text, format, items);
    std::string record(text.trimmed());
    for (auto [start, width] : zeroFields) {
        if (start + width > record.size()) continue;
        const std::size_t point = record.find('.', start);
        if (point != std::string::npos && point > start && point < start + width && record[point - 1] == ' ')
            record[point - 1] = '0';
    }
    out += record;
    out += recordEnd;
}

// The fields of an element record that hold a zero before their point: 7F7.1 and 2F9.1.
constexpr std::initializer_list<std::pair<std::size_t, std::size_t>> elementZeroFields = {
    {0, 7}, {7, 7}, {14, 7}, {21, 7}, {28, 7}, {35, 7}, {42, 7}, {60, 9}, {69, 9}};

} // namespace

std::string geometryText(const BuiltSection& s)
{
    std::string out = s.title;
    out += recordEnd;
    addRecord(out, "(3F10.1)", {s.headerValue, s.breadth, s.depth}, {{0, 10}, {10, 10}, {20, 10}});
    addRecord(out, "(I4)", {static_cast<std::int32_t>(s.elements.size())});
    out += headings;
    out += recordEnd;
    for (const PlacedElement& e : s.elements) {
        addRecord(out, calcrun::elementFormat,
                  {e.frameSpacing, e.plateWidth, e.plateThickness, e.flangeWidth, e.flangeThickness, e.webHeight,
                   e.webThickness, static_cast<double>(e.propertySet), 0.0, 0.0, e.x, e.y,
                   static_cast<std::int32_t>(e.orientation), static_cast<std::int32_t>(e.elementKind)},
                  elementZeroFields);
    }
    return out;
}

std::string propertiesText(const BuiltSection& s)
{
    std::string out;
    for (const Steel& steel : s.steels) addRecord(out, "(2F10.1)", {steel.yieldStress, steel.youngsModulus}, {{0, 10}, {10, 10}});
    return out;
}

std::string optionsText(const BuiltSection& s)
{
    std::string out;
    addRecord(out, "(I2)", {static_cast<std::int32_t>(s.studies.size())});
    for (const Study& c : s.studies) {
        const auto distortion = static_cast<std::int32_t>(std::lround(c.distortionCoefficient * 10000));
        addRecord(out, optionWriteFormat,
                  {static_cast<std::int32_t>(c.behaviourCode), static_cast<std::int32_t>(c.sheddingCode),
                   static_cast<std::int32_t>(c.corrosionCode), c.tensionBlockWidth, c.heelAngle, distortion, 0.0},
                  {{6, 5}, {11, 5}});
    }
    return out;
}

SectionInput toSectionInput(const BuiltSection& s)
{
    // Read back from the written records, so that the values are those the files hold.
    SectionInput in;
    in.title = s.title;
    in.headings = std::string(headings);
    in.firstHeaderValue = static_cast<float>(s.headerValue);
    const std::string geometry = geometryText(s);
    std::istringstream lines(geometry);
    std::string line;
    int n = 0;
    auto field = [&](std::size_t start, std::size_t width) {
        return std::strtof(line.substr(start, width).c_str(), nullptr);
    };
    while (std::getline(lines, line)) {
        ++n;
        if (n == 2) {
            in.breadth = field(10, 10);
            in.depth = field(20, 10);
        }
        if (n < 5) continue;
        ElementRecord e;
        float* reals[] = {&e.frameSpacing, &e.plateWidth, &e.plateThickness, &e.flangeWidth, &e.flangeThickness,
                          &e.webHeight, &e.webThickness};
        for (std::size_t c = 0; c < 7; ++c) *reals[c] = field(c * 7, 7);
        e.propertySet = field(49, 3);
        e.x = field(60, 9);
        e.y = field(69, 9);
        e.orientation = static_cast<std::int32_t>(std::strtol(line.substr(78, 2).c_str(), nullptr, 10));
        e.elementKind = static_cast<std::int32_t>(std::strtol(line.substr(80, 2).c_str(), nullptr, 10));
        in.elements.push_back(e);
    }
    for (const Steel& steel : s.steels)
        in.materials.push_back({static_cast<float>(steel.yieldStress), static_cast<float>(steel.youngsModulus)});
    return in;
}

} // namespace tarnova::sagoma
