// The element listing, record for record, as the driver and the data panel write it.

#include "CaseFiles.hpp"
#include "ElementListing.hpp"
#include "PanelLayout.hpp"
#include "records/Records.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace tarnova {
namespace {

namespace fs = std::filesystem;

TEST(ElementListing, RecordsByteForByte)
{
    const fs::path dir = testing::freshDirectory("listing");
    const fs::path previous = fs::current_path();
    fs::current_path(dir);

    static ElementData data;
    data.elementCount = 7;
    data.chosenElement = 7;
    for (int j = 0; j < stepCount; ++j) {
        data.strainRatioPoints[j] = 1.23;
        data.stressPoints[j] = 235;
    }
    data.strainRatioPoints[1] = -1.23;
    data.stressPoints[1] = -235;
    data.dimensionTable[6] = {800, 1000, 15.5, 100000, 0, 300, 11};

    writeListingHead(data, "TANKER1");
    const UltimatePoint u = ultimatePoint(data.strainRatioPoints, data.stressPoints);
    writeUltimateStress(u.stress);
    writeUltimateStrain(u.strainRatio);
    closeUnit(listingUnit);
    fs::current_path(previous);

    const std::string text = testing::readWhole(dir / "Element.007");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    const std::vector<std::string> r = testing::readRecordsOf(dir / "Element.007");
    ASSERT_EQ(r.size(), 68u);
    EXPECT_EQ(r[0], "            TARNOVA - version 3.0 (1996)");
    EXPECT_EQ(r[2], " Ship name: TANKER1");
    EXPECT_EQ(r[4], " Strain/Yield Strain (x)    Stress (y)");
    EXPECT_EQ(r[5], "        .123E+01            .235E+03");
    EXPECT_EQ(r[6], "       -.123E+01           -.235E+03");
    EXPECT_EQ(r[54], "        .123E+01            .235E+03");
    EXPECT_EQ(r[56], "Element Number  :   7");
    EXPECT_EQ(r[58], "Frame spacing   :   800.0");
    EXPECT_EQ(r[59], "Plate width     :  1000.0");
    EXPECT_EQ(r[60], "Plate thickness :    15.5");
    EXPECT_EQ(r[61], "Flange width    : *******");
    EXPECT_EQ(r[62], "Flange thickness:      .0");
    EXPECT_EQ(r[63], "Web height      :   300.0");
    EXPECT_EQ(r[64], "Web thickness   :    11.0");
    EXPECT_EQ(r[66], "Ultimate stress :    235.00");
    EXPECT_EQ(r[67], "Ultimate strain :      1.23");
    // The empty records are blank lines.
    for (int blank : {1, 3, 55, 57, 65}) EXPECT_EQ(r[blank].find_first_not_of(' '), std::string::npos) << blank;
}

} // namespace
} // namespace tarnova
