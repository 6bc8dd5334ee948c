// The engine's geometry checks on planted slips: each is found, names its element or set, and
// says which typing slip it may be; a sound section gives none.

#include "Calcrun.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace tarnova {
namespace {

// A 4 x 3 m box of 8 stiffened elements and one steel: no warning.
SectionInput soundBox()
{
    SectionInput s;
    s.breadth = 4000;
    s.depth = 3000;
    const float points[][3] = {{1000, 12, 2}, {2000, 12, 2}, {3000, 12, 2}, {3988, 1500, 3},
                               {1000, 2988, 1}, {2000, 2988, 1}, {3000, 2988, 1}, {12, 1500, 4}};
    for (const auto& p : points) {
        ElementRecord e{2400, 800, 12, 0, 0, 150, 10, 1, 0, 0, p[0], p[1], static_cast<std::int32_t>(p[2]), 3};
        s.elements.push_back(e);
    }
    s.materials.push_back({235, 206000});
    return s;
}

bool mentions(const std::vector<std::string>& warnings, const std::string& a, const std::string& b)
{
    for (const std::string& w : warnings)
        if (w.find(a) != std::string::npos && w.find(b) != std::string::npos) return true;
    return false;
}

std::string joined(const std::vector<std::string>& warnings)
{
    std::string out;
    for (const std::string& w : warnings) out += w + "\n";
    return out;
}

TEST(SectionWarnings, SoundSectionGivesNone)
{
    EXPECT_TRUE(sectionWarnings(soundBox()).empty()) << joined(sectionWarnings(soundBox()));
}

TEST(SectionWarnings, EachPlantedSlipIsNamedWithTheSlipItMayBe)
{
    const struct {
        const char* slip;
        std::function<void(SectionInput&)> plant;
        const char* subject;
        const char* says;
    } rows[] = {
        {"yield typed 35.5", [](SectionInput& s) { s.materials[0].yieldStress = 35.5f; }, "property set 1: yield stress",
         "a decimal point one place off, or a digit missing (355?)"},
        {"yield typed 3550", [](SectionInput& s) { s.materials[0].yieldStress = 3550; }, "yield stress", "(355?)"},
        {"modulus typed 20600", [](SectionInput& s) { s.materials[0].youngsModulus = 20600; },
         "property set 1: Young's modulus", "(206000?)"},
        {"yield and modulus swapped", [](SectionInput& s) { s.materials[0] = {206000, 235}; }, "property set 1", "swapped"},
        {"x ten times too large", [](SectionInput& s) { s.elements[1].x = 20000; }, "element 2: x 20000",
         "a digit too many (2000?)"},
        {"y sign slip", [](SectionInput& s) { s.elements[4].y = -2988; }, "element 5: y -2988", "a sign slip"},
        {"two on one spot", [](SectionInput& s) { s.elements[2].x = 2000.4f; }, "element 2 and element 3",
         "one spot"},
        {"orientation 5", [](SectionInput& s) { s.elements[6].orientation = 5; }, "element 7: orientation 5",
         "not 1 to 4"},
        {"plate thickness 1.2", [](SectionInput& s) { s.elements[0].plateThickness = 1.2f; }, "element 1: plate slenderness",
         "above 200"},
        {"web thickness 1.0", [](SectionInput& s) { s.elements[3].webThickness = 1.0f; }, "element 4: stiffener web",
         "above 90"},
        {"set 2 unused", [](SectionInput& s) { s.materials.push_back({355, 206000}); }, "property set 2",
         "used by no element"},
        {"set 3 missing", [](SectionInput& s) { s.elements[5].propertySet = 3; }, "property set 3 is used by 1 element",
         "the properties file holds 1 set"},
    };
    for (const auto& row : rows) {
        SectionInput s = soundBox();
        row.plant(s);
        const std::vector<std::string> warnings = sectionWarnings(s);
        EXPECT_TRUE(mentions(warnings, row.subject, row.says)) << row.slip << ":\n" << joined(warnings);
    }
}

TEST(SectionWarnings, AnAluminiumSectionIsNotASlip)
{
    SectionInput s = soundBox();
    s.materials[0] = {215, 70000};
    EXPECT_TRUE(sectionWarnings(s).empty()) << joined(sectionWarnings(s));
}

TEST(SectionWarnings, SectionWithItsOriginOnTheCentrelineIsNotOutside)
{
    SectionInput s = soundBox();
    for (ElementRecord& e : s.elements) e.x -= 2000;
    EXPECT_TRUE(sectionWarnings(s).empty()) << joined(sectionWarnings(s));
}

} // namespace
} // namespace tarnova
