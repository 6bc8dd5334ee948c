// CASE.lim: a complete file with its defaults, and every fault path, each listed with its line
// and key (all of a file's faults at once).

#include "limits.hpp"

#include <gtest/gtest.h>

namespace tarnova::collaudo {
namespace {

const char* const complete = R"(study = "B"
[[condition]]
name = "seagoing"
msw_hogging = 2800000.0
msw_sagging = 2000000
mwv_hogging = 3400000.0
mwv_sagging = 3600000.0
gamma_w = 1.0

[[damage]]
name = "coll"
kind = "collision"
side = "starboard"

[[damage]]
name = "bottom"
kind = "box"
x_min = 0
x_max = 100.5
y_min = -10
y_max = 20

[interaction]
angles = 36
)";

TEST(Limits, CompleteFileWithRuleDefaults)
{
    const LimitsOutcome out = parseLimits(complete, 2);
    ASSERT_TRUE(out.faults.empty()) << faultList(out.faults, "CASE.lim");
    const Limits& l = out.limits;
    EXPECT_EQ(l.study, 2);
    EXPECT_EQ(l.interactionStudy, 2);
    EXPECT_EQ(l.angleCount, 36);
    ASSERT_EQ(l.conditions.size(), 1u);
    const Condition& c = l.conditions[0];
    EXPECT_EQ(c.mswSagging, 2000000);
    EXPECT_EQ(c.gammaS, 1.0);
    EXPECT_EQ(c.gammaW, 1.0);
    EXPECT_EQ(c.gammaM, 1.1);
    EXPECT_EQ(c.gammaDbHogging, 1.15);
    EXPECT_EQ(c.gammaDbSagging, 1.0);
    ASSERT_EQ(l.damages.size(), 2u);
    EXPECT_EQ(l.damages[0].kind, DamageKind::collision);
    EXPECT_TRUE(l.damages[0].starboard);
    EXPECT_EQ(l.damages[0].neutralAxis, 1.1);
    EXPECT_EQ(l.damages[0].gammaW, 0.67);
    EXPECT_EQ(l.damages[1].kind, DamageKind::box);
    EXPECT_EQ(l.damages[1].xMax, 100.5);
    EXPECT_EQ(l.damages[1].neutralAxis, 1.0);
}

const char* const condition = "[[condition]]\nname = \"c\"\nmsw_hogging = 1\nmsw_sagging = 1\nmwv_hogging = 1\nmwv_sagging = 1\n";

TEST(Limits, EveryFaultNamesItsLineAndKey)
{
    struct Case {
        std::string text;
        int line;
        std::string key;
        std::string message;   // a part of it
    };
    const std::string c = condition;   // lines 1 to 6
    const Case cases[] = {
        {"study = \"B\"\nfoo = 1\n" + c, 2, "foo", "unknown key"},
        {c + "gama_w = 1.2\n", 7, "condition[1].gama_w", "unknown key"},
        {c + "gamma_w = \"1.2\"\n", 7, "condition[1].gamma_w", "not a number"},
        {c + "gamma_m = 0\n", 7, "condition[1].gamma_m", "must be above 0"},
        {c + "gamma_s = -1\n", 7, "condition[1].gamma_s", "must not be below 0"},
        {c + "gamma_w = nan\n", 7, "condition[1].gamma_w", "finite"},
        {"[[condition]]\nname = \"c\"\nmsw_hogging = 1\nmsw_sagging = 1\nmwv_hogging = 1\n", 1,
         "condition[1].mwv_sagging", "missing"},
        {"[[condition]]\nmsw_hogging = 1\nmsw_sagging = 1\nmwv_hogging = 1\nmwv_sagging = 1\n", 1, "condition[1].name",
         "missing"},
        {c + "[[condition]]\nname = \"c\"\nmsw_hogging = 1\nmsw_sagging = 1\nmwv_hogging = 1\nmwv_sagging = 1\n", 7,
         "condition[2].name", "earlier condition"},
        {"[[condition]]\nname = \"a b\"\nmsw_hogging = 1\nmsw_sagging = 1\nmwv_hogging = 1\nmwv_sagging = 1\n", 2,
         "condition[1].name", "letters"},
        {"study = \"Q\"\n" + c, 1, "study", "no such case study"},
        {"study = 1.5\n" + c, 1, "study", "not a case study"},
        {c + "[[damage]]\nname = \"d\"\nkind = \"fire\"\n", 9, "damage[1].kind", "collision"},
        {c + "[[damage]]\nname = \"d\"\nkind = \"collision\"\n", 7, "damage[1].side", "missing"},
        {c + "[[damage]]\nname = \"d\"\nkind = \"collision\"\nside = \"aft\"\n", 10, "damage[1].side", "port"},
        {c + "[[damage]]\nname = \"d\"\nkind = \"grounding\"\nside = \"port\"\n", 10, "damage[1].side", "only a collision"},
        {c + "[[damage]]\nname = \"d\"\nkind = \"grounding\"\nx_min = 1\n", 10, "damage[1].x_min", "only a box"},
        {c + "[[damage]]\nname = \"d\"\nkind = \"box\"\nx_min = 1\nx_max = 2\ny_min = 1\n", 7, "damage[1].y_max",
         "missing"},
        {c + "[[damage]]\nname = \"d\"\nkind = \"box\"\nx_min = 5\nx_max = 2\ny_min = 1\ny_max = 2\n", 11,
         "damage[1].x_max", "below x_min"},
        {c + "[[damage]]\nname = \"d\"\nkind = \"box\"\nx_min = 1\nx_max = 2\ny_min = 1\ny_max = 2\nc_na = 0\n", 14,
         "damage[1].c_na", "above 0"},
        {c + "[interaction]\nangles = 0\n", 8, "interaction.angles", "1 to 360"},
        {c + "[interaction]\nangles = 2.5\n", 8, "interaction.angles", "whole number"},
        {c + "[interaction]\nangle = 24\n", 8, "interaction.angle", "unknown key"},
        {c + "[interaction]\nstudy = \"C\"\n", 8, "interaction.study", "no such case study"},
        {"interaction = 3\n" + c, 1, "interaction", "must be a table"},
        {"condition = 3\n", 1, "condition", "must be tables"},
        {"", 0, "condition", "nothing to check"},
        {c + "msw_hogging = 2\n", 7, "", ""},   // a key given twice: the parser's own fault
        {"[[condition]\n", 1, "", ""},
    };
    for (const Case& k : cases) {
        const LimitsOutcome out = parseLimits(k.text, 2);
        ASSERT_FALSE(out.faults.empty()) << k.text;
        const LimitsFault& f = out.faults.front();
        EXPECT_EQ(f.line, k.line) << k.text;
        EXPECT_EQ(f.key, k.key) << k.text;
        EXPECT_NE(f.message.find(k.message), std::string::npos) << f.message;
    }
}

TEST(Limits, AllFaultsOfAFileAreListed)
{
    const LimitsOutcome out = parseLimits(std::string(condition) + "gamma_w = -1\nfoo = 2\n[interaction]\nangles = 0\n", 1);
    ASSERT_EQ(out.faults.size(), 3u);
    EXPECT_EQ(faultList(out.faults, "CASE.lim"),
              "CASE.lim:8: condition[1].foo: unknown key\n"
              "CASE.lim:7: condition[1].gamma_w: must not be below 0 (is -1)\n"
              "CASE.lim:10: interaction.angles: must be 1 to 360 (is 0)\n");
}

TEST(Limits, UnreadableFileIsAFault)
{
    const LimitsOutcome out = readLimits("/nonexistent/CASE.lim", 1);
    ASSERT_EQ(out.faults.size(), 1u);
    EXPECT_EQ(out.faults[0].message, "cannot be read");
}

} // namespace
} // namespace tarnova::collaudo
