#include "assessmentFiles.hpp"

#include <cmath>
#include <cstdio>

namespace tarnova::collaudo {

namespace {

constexpr const char* lineEnd = "\r\n";

void field(std::string& out, const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Factors keep what they were given: 1.15, 0.67, 0.9091.
std::string factor(double value)
{
    std::string text = plain(value, 4);
    while (text.size() > 1 && text.back() == '0' && text[text.size() - 2] != '.') text.pop_back();
    return text;
}

const char* kindName(DamageKind k)
{
    return k == DamageKind::collision ? "collision" : k == DamageKind::grounding ? "grounding" : "box";
}

} // namespace

std::string plain(double value, int decimals)
{
    if (!std::isfinite(value)) return value > 0 ? "inf" : value < 0 ? "-inf" : "nan";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    if (s.rfind("-0", 0) == 0 && std::strtod(text, nullptr) == 0.0) s.erase(0, 1);
    return s;
}

std::string checkTable(const Assessment& a)
{
    std::string out = "case,condition,direction,Msw (kN.m),Mwv (kN.m),gamma_S,gamma_W,gamma_M,gamma_DB,M (kN.m),"
                      "Mu (kN.m),Mu/gamma_R (kN.m),utilisation,verdict";
    out += lineEnd;
    for (const CheckRow& r : a.rows) {
        field(out, r.caseName);
        out += ',';
        field(out, r.condition);
        out += ',' + r.direction + ',' + plain(r.msw, 1) + ',' + plain(r.mwv, 1) + ',' + factor(r.gammaS) + ',' +
               factor(r.gammaW) + ',' + factor(r.gammaM) + ',' + factor(r.gammaDB) + ',' + plain(r.moment, 1) + ',' +
               plain(r.ultimate, 1) + ',' + plain(r.capacity, 1) + ',' + plain(r.utilisation, 4) + ',' +
               (r.pass ? "PASS" : "FAIL") + lineEnd;
    }
    return out;
}

std::string interactionTable(const Assessment& a)
{
    std::string out = "angle (deg),Mu (kN.m),Mv (kN.m),Mh (kN.m),peak step,peak reached";
    out += lineEnd;
    for (const InteractionPoint& p : a.interaction) {
        out += plain(p.angle, 2) + ',' + plain(p.ultimate, 1) + ',' + plain(p.vertical, 1) + ',' +
               plain(p.horizontal, 1) + ',' + std::to_string(p.peakStep) + ',' + (p.peakReached ? "yes" : "no") +
               lineEnd;
    }
    return out;
}

std::string checkReport(const Assessment& a, const Limits& limits)
{
    std::string out;
    char line[512];
    auto put = [&](const char* text) { out += text; out += '\n'; };
    std::snprintf(line, sizeof line, "Hull girder assessment of %s (moments in kN.m)", a.caseName.c_str());
    put(line);
    put("");
    std::snprintf(line, sizeof line, "Mu from case study %c: sagging at heel 0, hogging at heel 180.",
                  static_cast<char>('A' + a.study - 1));
    put(line);
    std::snprintf(line, sizeof line, "  sagging Mu %14s  peak at step %2d%s", plain(a.sagging.ultimate, 1).c_str(),
                  a.sagging.peakStep, a.sagging.peakReached ? "" : "  PEAK NOT REACHED");
    put(line);
    std::snprintf(line, sizeof line, "  hogging Mu %14s  peak at step %2d%s", plain(a.hogging.ultimate, 1).c_str(),
                  a.hogging.peakStep, a.hogging.peakReached ? "" : "  PEAK NOT REACHED");
    put(line);
    put("First yield (elastic, intact: the smallest moment at which an element reaches its own yield stress):");
    for (const auto& [direction, s] : {std::pair{"sagging", &a.sagging}, std::pair{"hogging", &a.hogging}}) {
        std::snprintf(line, sizeof line, "  %s %14s  element %d", direction, plain(s->firstYield, 1).c_str(),
                      s->firstYieldElement);
        put(line);
    }
    put("");
    put("Intact: M = gS*Msw + gW*Mwv against Mu/gR, gR = gM*gDB.");
    put("Damaged: MD = gS*Msw + gW*Mwv against C_NA*MuD/gRD (gM column: gRD, gDB column: 1/C_NA).");
    put("");
    std::snprintf(line, sizeof line, "%-10s %-12s %-8s %12s %12s %6s %6s %6s %6s %12s %12s %12s %7s %s", "case",
                  "condition", "dir", "Msw", "Mwv", "gS", "gW", "gM", "gDB", "M", "Mu", "Mu/gR", "util", "verdict");
    put(line);
    for (const CheckRow& r : a.rows) {
        std::snprintf(line, sizeof line, "%-10s %-12s %-8s %12s %12s %6s %6s %6s %6s %12s %12s %12s %7s %s%s",
                      r.caseName.c_str(), r.condition.c_str(), r.direction.c_str(), plain(r.msw, 1).c_str(),
                      plain(r.mwv, 1).c_str(), plain(r.gammaS, 2).c_str(), plain(r.gammaW, 2).c_str(),
                      plain(r.gammaM, 2).c_str(), plain(r.gammaDB, 4).c_str(), plain(r.moment, 1).c_str(),
                      plain(r.ultimate, 1).c_str(), plain(r.capacity, 1).c_str(), plain(r.utilisation, 3).c_str(),
                      r.pass ? "PASS" : "FAIL", r.peakReached ? "" : "  (peak not reached)");
        put(line);
    }
    if (!a.damages.empty()) {
        put("");
        put("Damages (zones in mm, element reference points inside are removed):");
        for (const DamageResult& r : a.damages) {
            std::snprintf(line, sizeof line,
                          "  %-10s %-9s x %s to %s, y %s to %s: %d removed, %d left; folder %s", r.damage.name.c_str(),
                          kindName(r.damage.kind), plain(r.zone.xMin, 1).c_str(), plain(r.zone.xMax, 1).c_str(),
                          plain(r.zone.yMin, 1).c_str(), plain(r.zone.yMax, 1).c_str(), r.removed, r.remaining,
                          (a.caseName + "_" + r.damage.name + "/").c_str());
            put(line);
            for (const auto& [direction, s] : {std::pair{"sagging", &r.sagging}, std::pair{"hogging", &r.hogging}}) {
                std::snprintf(line, sizeof line, "    %s Mu %s, Mx %s, My %s, peak at step %d", direction,
                              plain(s->ultimate, 1).c_str(), plain(s->momentX, 1).c_str(), plain(s->momentY, 1).c_str(),
                              s->peakStep);
                put(line);
            }
        }
    }
    put("");
    std::snprintf(line, sizeof line, "Interaction: %d heel angles, options of case study %c.", limits.angleCount,
                  static_cast<char>('A' + a.interactionStudy - 1));
    put(line);
    if (!a.notes.empty()) {
        put("");
        put("Notes:");
        for (const std::string& n : a.notes) {
            out += "  ";
            put(n.c_str());
        }
    }
    return out;
}

} // namespace tarnova::collaudo
