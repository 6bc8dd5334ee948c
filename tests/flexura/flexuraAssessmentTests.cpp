// Flexura's additions for the assessment: the elastic first-yield moment from the first step, the
// files Collaudo leaves, the third screen in the Tab cycle and the legend's peak-not-reached.

#include "assessmentInputs.hpp"
#include "firstYield.hpp"
#include "interactionScreen.hpp"
#include "mapNavigation.hpp"
#include "momentChart.hpp"

#include "display/Display.hpp"
#include "display/TestHooks.hpp"
#include "fkey.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tarnova::flexura {
namespace {

CaseStudy studyWithFirstStep(double moment, std::vector<double> ratios)
{
    CaseStudy s;
    s.steps.resize(stepCount);
    s.steps[0].moment = moment;
    s.strainRatio = std::move(ratios);
    s.strainRatio.resize(stepCount * 3);
    return s;
}

TEST(FirstYield, TheElementOfTheLargestStrainRatioAtTheFirstStepYieldsFirst)
{
    struct Row {
        double moment;
        std::vector<double> ratios;
        double firstYield;
        int element;
    };
    const Row rows[] = {
        {1.0e9, {0.02, -0.04, 0.01}, 2.5e10, 2},   // tension counts as much as compression
        {1.0e9, {0.05, 0.04, 0.05}, 2.0e10, 1},    // a tie: the first element
        // Two steels: the milder element, nearer the axis, has the largest ratio and yields first.
        {8.88e8, {0.0075, 0.01, 0.006}, 8.88e10, 2},
        {0.0, {0.0, 0.0, 0.0}, 0.0, 0},             // nothing strains: nothing to draw
    };
    for (const Row& r : rows) {
        const FirstYield f = elasticFirstYield(studyWithFirstStep(r.moment, r.ratios), 3);
        EXPECT_NEAR(f.moment, r.firstYield, 1e-9 * r.firstYield) << r.moment;
        EXPECT_EQ(f.element, r.element);
    }
    CaseData data;
    data.elements.resize(3);
    data.studies.push_back(studyWithFirstStep(1.0e9, {0.02, -0.04, 0.01}));
    data.studies[0].firstYieldMoment = 3.0e10;   // the report's EL.B.MOM
    setElasticFirstYield(data);
    EXPECT_EQ(data.studies[0].firstYieldMoment, 2.5e10);
    EXPECT_EQ(data.studies[0].reportElasticMoment, 3.0e10);
    EXPECT_EQ(data.studies[0].firstYieldElement, 2);
}

TEST(AssessmentFiles, CollaudosTablesAreReadAndOthersIgnored)
{
    const std::string interaction = "angle (deg),Mu (kN.m),Mv (kN.m),Mh (kN.m),peak step,peak reached\r\n"
                                    "0.00,100.0,100.0,0.0,19,yes\r\n180.00,120.0,-120.0,0.0,50,no\r\n";
    const std::string check =
        "case,condition,direction,Msw (kN.m),Mwv (kN.m),gamma_S,gamma_W,gamma_M,gamma_DB,M (kN.m),Mu (kN.m),"
        "Mu/gamma_R (kN.m),utilisation,verdict\r\n"
        "intact,\"sea, going\",sagging,1.0,2.0,1.0,1.2,1.1,1.0,3.4,100.0,90.9,0.0374,PASS\r\n"
        "coll,sea,sagging,1.0,2.0,1.0,0.67,1.0,0.9091,2.34,90.0,99.0,0.0236,PASS\r\n";
    const AssessmentInputs a = parseAssessment(interaction, check);
    ASSERT_EQ(a.interaction.size(), 2u);
    EXPECT_EQ(a.interaction[1].vertical, -120.0);
    EXPECT_FALSE(a.interaction[1].peakReached);
    ASSERT_EQ(a.design.size(), 1u);   // the intact rows only
    EXPECT_EQ(a.design[0].condition, "sea, going");
    EXPECT_EQ(a.design[0].moment, 3.4);
    EXPECT_FALSE(parseAssessment("", "").present());
    EXPECT_TRUE(parseAssessment("a,b\r\n1,2\r\n", "").interaction.empty());
}

TEST(AssessmentScreen, TabReachesTheInteractionOnlyAfterCollaudo)
{
    CaseData data;
    data.elements.resize(3);
    data.studies.resize(1);
    ViewState view;
    view.screen = Screen::map;
    EXPECT_EQ(applyKey(view, data, fkey::tab, 0), Action::redraw);
    EXPECT_EQ(view.screen, Screen::chart);
    data.assessment.interaction.push_back({});
    view.screen = Screen::map;
    EXPECT_EQ(applyKey(view, data, fkey::tab, 0), Action::redraw);
    EXPECT_EQ(view.screen, Screen::interaction);
    EXPECT_EQ(applyKey(view, data, 0, fkey::right), Action::none);   // steps move the map only
    EXPECT_EQ(applyKey(view, data, fkey::tab, 0), Action::redraw);
    EXPECT_EQ(view.screen, Screen::chart);
}

// The chart and the map draw through a real window of their own; the interaction screen, reached
// from the map by Tab, once drew its curve and grid through the map's and so off its labels and points.
TEST(AssessmentScreen, InteractionIsTheSameWhicheverScreenCameBefore)
{
    CaseData data;
    data.caseName = "T";
    data.assessment = parseAssessment("angle (deg),Mu (kN.m),Mv (kN.m),Mh (kN.m),peak step,peak reached\r\n"
                                      "0.00,9.0e6,9.0e6,0.0,19,yes\r\n90.00,8.0e6,0.0,8.0e6,30,yes\r\n"
                                      "180.00,1.1e7,-1.1e7,0.0,50,no\r\n270.00,8.0e6,0.0,-8.0e6,30,yes\r\n",
                                      "");
    constexpr int width = 1024, height = 724;
    auto pane = [] {
        std::vector<int> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixels.push_back(inspect::pixelAt(x, y));
        return pixels;
    };
    inspect::resetDisplay(width, height);
    drawInteractionScreen(data, width, height);
    const std::vector<int> fresh = pane();
    inspect::resetDisplay(width, height);
    setRealWindow(false, 0.0, 0.0, 50.0, 3.0e13);   // as the moment chart leaves it
    drawInteractionScreen(data, width, height);
    EXPECT_TRUE(pane() == fresh);
}

TEST(ChartLegend, SaysWhenThePeakWasNotReached)
{
    CaseStudy s;
    s.ultimateMoment = 1e13;
    s.ultimateStep = 50;
    EXPECT_NE(legendLine(s, momentUnit(1e13)).find("peak not reached"), std::string::npos);
    s.ultimateStep = 49;
    EXPECT_EQ(legendLine(s, momentUnit(1e13)).find("peak not reached"), std::string::npos);
}

} // namespace
} // namespace tarnova::flexura
