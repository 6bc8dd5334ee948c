// CsvToGeo: every bad cell reported with its row, column and value; good sheets written as the
// calculator reads them.

#include "geometrySheet.hpp"

#include "records/Records.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <array>

namespace tarnova::csvtogeo {
namespace {

namespace fs = std::filesystem;

const std::string header =
    "frameSpacing,plateWidth,plateThickness,flangeWidth,flangeThickness,webHeight,webThickness,"
    "propertySet,x,y,orientation,elementKind\n";

std::string problemsOf(const std::string& csv)
{
    std::string all;
    for (const std::string& p : readSheet(csv).problems) all += p + "\n";
    return all;
}

TEST(GeometrySheet, ReportsEveryBadCellWithRowColumnAndValue)
{
    struct Case {
        std::string csv;
        std::string problems;
    };
    const Case cases[] = {
        {header + "4200,500,12,,,150,10,1,500,12,2,3\n", ""},
        {header + "4200,500,12x,,,150,10,1,500,12,2,3\n",
         "row 2, column C (plateThickness): \"12x\" is not a number\n"},
        // Every problem of the sheet at once, in sheet order.
        {header + "4200,500,12,,,150,10,1,500,12,2,3\n"
                  "4200,,12,,,150,10,6,500,12,2,3\n"
                  "4200,500,0,,,150,10,2.5,500,12,7,3\n",
         "row 3, column B (plateWidth): the cell is empty\n"
         "row 3, column H (propertySet): 6 is outside 1 to 5\n"
         "row 4, column C (plateThickness): 0 is outside 0.1 to 99999.9\n"
         "row 4, column H (propertySet): 2.5 is not a whole number\n"
         "row 4, column K (orientation): 7 is outside 1 to 4\n"},
        {header + "123456,500,12,,,-5,10,1,500,12,2,3\n",
         "row 2, column A (frameSpacing): 123456 is outside 0.1 to 99999.9\n"
         "row 2, column F (webHeight): -5 is outside 0 to 99999.9\n"},
        // Rounded to the field: 0.04 mm of plate holds as 0.
        {header + "4200,500,0.04,,,,,1,0,0,1,1\n",
         "row 2, column C (plateThickness): 0.04 is outside 0.1 to 99999.9\n"},
        {header + "4200,500,12,,,,,1,0,0,1,1,extra\n",
         "row 2, column M: \"extra\" stands beyond the named columns\n"},
        {header + "4200,500,12,,,,,1,nan,inf,1,1\n",
         "row 2, column I (x): \"nan\" is not a number\n"
         "row 2, column J (y): \"inf\" is not a number\n"},
        {"frameSpacing,plateWidht,plateWidth,plateWidth,propertySet,x,y,orientation\n4200,1,500,500,1,0,0,1\n",
         "row 1, column B: \"plateWidht\" is not a column of the geometry file\n"
         "row 1, column D: plateWidth is named twice (also column C)\n"
         "row 1: no column named plateThickness\n"
         "row 1: no column named elementKind\n"},
        {header, "the sheet has no element rows below its header\n"},
        {"", "row 1: the sheet is empty; it needs a header row naming the columns\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(problemsOf(c.csv), c.problems) << c.csv;
}

TEST(GeometrySheet, ReadsSpreadsheetExportsAsWritten)
{
    // Short headings in any case and order, a byte-order mark, CR LF, quoted cells, blank rows,
    // an empty stiffener, a semicolon export with decimal commas.
    const Sheet a = readSheet("\xEF\xBB\xBF" "kd,or,Y,X,ps,plthic,plwidt,frspac,webhei,webthi\r\n"
                              "3,2,\"1,0\",500,1,12.04,500,4200,150,10\r\n,,,,,,,,,\r\n");
    ASSERT_EQ(a.problems.size(), 1u);   // "1,0" is not a number in a comma sheet
    EXPECT_EQ(a.problems[0], "row 2, column C (y): \"1,0\" is not a number");
    const Sheet b = readSheet("KD;OR;Y;X;PS;PLTHIC;PLWIDT;FRSPAC;WEBHEI\n3;2;12,5;500;1;12,04;500;4200;\n");
    ASSERT_TRUE(b.problems.empty()) << b.problems[0];
    ASSERT_EQ(b.elements.size(), 1u);
    const auto& v = b.elements[0].values;
    EXPECT_EQ(v[y], 12.5);
    EXPECT_EQ(v[plateThickness], 12.0);   // rounded to the 0.1 mm the field holds
    EXPECT_EQ(v[webHeight], 0.0);
    EXPECT_EQ(v[elementKind], 3.0);
}

TEST(GeometrySheet, MoreThanSixHundredRowsAreRefused)
{
    std::string csv = header;
    for (int i = 0; i < 601; ++i) csv += "4200,500,12,,,,,1," + std::to_string(i) + ",0,1,1\n";
    EXPECT_EQ(problemsOf(csv), "601 element rows, more than the 600 a section may hold\n");
}

int run(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string fileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct GeometryFile {
    std::string title, headings;
    float headerValue = 0, breadth = 0, depth = 0;
    std::int32_t count = 0;
    std::vector<std::array<float, 14>> elements;
};

GeometryFile readGeometry(const fs::path& path)
{
    GeometryFile g;
    openUnit(2, path.string());
    rewindUnit(2);
    FixedText line(80);
    readRecords(2, "(A80)", {line});
    g.title = line.trimmed();
    readRecords(2, "(3F10.1)", {g.headerValue, g.breadth, g.depth});
    readRecords(2, "(I4)", {g.count});
    readRecords(2, "(A80)", {line});
    g.headings = line.trimmed();
    while (!atEndOfUnit(2)) {
        std::array<float, 14> r{};
        std::int32_t orientation = 0, kind = 0;
        readRecords(2, "(7F7.1,F3.0,2F4.2,2F9.1,2I2)",
                    {r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9], r[10], r[11], orientation, kind});
        r[12] = static_cast<float>(orientation);
        r[13] = static_cast<float>(kind);
        g.elements.push_back(r);
    }
    closeUnit(2);
    return g;
}

// The tanker's 297 element records exported as a sheet and converted back read as the shipped
// geometry file: same title, header value, count, headings and element fields; the breadth and
// depth are the extents of the positions.
TEST(CsvToGeoProgram, TankerSheetReadsAsTheShippedGeometryFile)
{
    const fs::path dir = fs::temp_directory_path() / ("csvToGeo" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const GeometryFile shipped = readGeometry(fs::path(EXAMPLES_DIR) / "tanker" / "TANKER.geo");
    ASSERT_EQ(shipped.elements.size(), 297u);

    std::ofstream csv(dir / "tanker.csv", std::ios::binary);
    csv << "FRSPAC,PLWIDT,PLTHIC,FLWIDT,FLTHIC,WEBHEI,WEBTHI,PS,SPR,DPT,X,Y,OR,KD\n";
    for (const auto& r : shipped.elements) {
        for (std::size_t i = 0; i < r.size(); ++i) csv << r[i] << (i + 1 < r.size() ? "," : "\n");
    }
    csv.close();
    const std::string command = std::string(CSV_TO_GEO_PROGRAM) + " --title '" + shipped.title +
                                "' --header-value 234000 " + (dir / "tanker.csv").string() + " " +
                                (dir / "TANKER.geo").string() + " >/dev/null";
    ASSERT_EQ(run(command), 0);

    const GeometryFile written = readGeometry(dir / "TANKER.geo");
    EXPECT_EQ(written.title, shipped.title);
    EXPECT_EQ(written.headings, shipped.headings);
    EXPECT_EQ(written.headerValue, shipped.headerValue);
    EXPECT_EQ(written.count, shipped.count);
    EXPECT_EQ(written.breadth, 42000.0f);
    EXPECT_EQ(written.depth, 20963.0f);
    EXPECT_EQ(written.elements, shipped.elements);

    // A spoiled sheet: every problem listed, status 1, nothing written.
    std::ofstream bad(dir / "bad.csv", std::ios::binary);
    bad << header << "4200,500,12,,,,,9,0,0,1,1\n4200,500,abc,,,,,1,0,0,1,1\n";
    bad.close();
    ASSERT_EQ(run(std::string(CSV_TO_GEO_PROGRAM) + " " + (dir / "bad.csv").string() + " " +
                  (dir / "BAD.geo").string() + " 2>" + (dir / "err.txt").string()),
              1);
    const std::string err = fileText(dir / "err.txt");
    EXPECT_NE(err.find("row 2, column H (propertySet): 9 is outside 1 to 5"), std::string::npos) << err;
    EXPECT_NE(err.find("row 3, column C (plateThickness): \"abc\" is not a number"), std::string::npos) << err;
    EXPECT_NE(err.find("2 problems; "), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "BAD.geo"));
    fs::remove_all(dir);
}

} // namespace
} // namespace tarnova::csvtogeo
