// The calculation report: its conversions and readers as tables of input and exact output, and
// Flexura --report run on the calculated box girder with hand-made assessment files beside it
// (the browser checks of the document are tests/flexura/reportBrowserCheck.py).

#include "report.hpp"
#include "sha256.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>

namespace {

using namespace tarnova::flexura;
namespace fs = std::filesystem;

TEST(ReportUnits, ConversionsShowSixSignificantDigitsInPlainDecimal)
{
    struct Case {
        double fileValue;
        UnitConversion unit;
        const char* shown;
    };
    const Case cases[] = {
        {.543247E+11, momentConversion, "54.3247"},        // N.mm -> MN.m
        {.799512E+13, momentConversion, "7995.12"},
        {-.512000E+03, momentConversion, "-0.000000512000"},
        {.2040E+06, areaConversion, "0.204000"},           // mm2 -> m2
        {1501., lengthConversion, "1.50100"},              // mm -> m
        {.32221E+12, inertiaConversion, "0.322210"},       // mm4 -> m4
        {.21491E+09, modulusConversion, "0.214910"},       // mm3 -> m3
        {0, momentConversion, "0"},
        {9.9999996e9, momentConversion, "10.0000"},        // the rounding carries into a new digit
    };
    for (const Case& c : cases) EXPECT_EQ(convertedText(c.fileValue, c.unit), c.shown) << c.fileValue;
    // The factors themselves: 1 MN.m = 1e6 N x 1e3 mm; 1 m4 = (1e3 mm)^4.
    EXPECT_DOUBLE_EQ(momentConversion.factor * 1e6 * 1e3, 1.0);
    EXPECT_DOUBLE_EQ(inertiaConversion.factor * 1e12, 1.0);
    EXPECT_DOUBLE_EQ(modulusConversion.factor * 1e9, 1.0);
    EXPECT_DOUBLE_EQ(areaConversion.factor * 1e6, 1.0);
}

TEST(ReportReaders, Sha256AndBase64MatchTheirStandardVectors)
{
    EXPECT_EQ(tarnova::sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(tarnova::sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 56 bytes: the length no longer fits the first padding block.
    EXPECT_EQ(tarnova::sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(tarnova::sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"}, {"\xff\xfe", "//4="}};
    for (const auto& [in, out] : vectors) EXPECT_EQ(base64(in), out) << in;
    EXPECT_EQ(htmlText("a<b & \"c\">\xE9"), "a&lt;b &amp; &quot;c&quot;&gt;\xC3\xA9");
}

TEST(ReportReaders, ReportValuesAreTheFieldsOfEachStudysBlock)
{
    const std::string report =
        "            TARNOVA - version 3.0 (1996)\r\n\r\n"
        "E/B/T 1          SHED/CONST 1          CORR/NO COR 0\r\n"
        "TENS.BLOCK WIDTH=  .0  INITIAL DISTORSION= .0000   ANGLE OF HEEL=    .0 DEGREE\r\n\r\n"
        " AREA     X EL.N.AXIS Y SECT. MOD.   EL.B.MOM VER. 2.MOM HOR. 2.MOM S.M.BOTTOM\r\n"
        ".2040E+06  2000.  1501. .21491E+09 .50503E+11 .32221E+12 .49673E+12 .21471E+09\r\n\r\n"
        "  PLASTIC BEND. Mom.    PL. NEUTRAL AXIS     Pl. S. Modulus\r\n"
        "  .554997E+11(N.mm)         1500.(mm)       .236169E+09(mm3)\r\n\r\n"
        "   X  Ultimate Bending Moment Y       UBM         ESModulus      Curv. UBM\r\n"
        "    .543247E+11   -.512000E+03    .543247E+11    .231169E+09    .152104E-05\r\n"
        "\r\n\r\nE/B/T 3          SHED/CONST 1          CORR/NO COR 2\r\n"
        " AREA     X EL.N.AXIS Y SECT. MOD.   EL.B.MOM VER. 2.MOM HOR. 2.MOM S.M.BOTTOM\r\n"
        ".1900E+06  2000.  1499. .20000E+09 .47000E+11 .30000E+12 .46000E+12 .20000E+09\r\n";
    const std::vector<StudyReportValues> values = readReportValues(report);
    ASSERT_EQ(values.size(), 2u);
    const std::string expected[] = {".2040E+06", "2000.", "1501.", ".21491E+09", ".50503E+11",
                                    ".32221E+12", ".49673E+12", ".21471E+09"};
    for (std::size_t k = 0; k < 8; ++k) EXPECT_EQ(values[0].properties[k].text, expected[k]) << k;
    EXPECT_DOUBLE_EQ(values[0].properties[0].value, 204000.0);
    EXPECT_EQ(values[0].plasticMoment.text, ".554997E+11");
    EXPECT_EQ(values[0].plasticNeutralAxis.text, "1500.");
    EXPECT_EQ(values[0].plasticModulus.text, ".236169E+09");
    EXPECT_EQ(values[0].ultimateMoment.text, ".543247E+11");
    EXPECT_DOUBLE_EQ(values[0].ultimateMoment.value, .543247E+11);
    EXPECT_EQ(values[0].ultimateCurvature.text, ".152104E-05");
    // A block the calculator did not finish: what is there is read, the rest is absent.
    EXPECT_EQ(values[1].properties[2].text, "1499.");
    EXPECT_FALSE(values[1].plasticMoment.present);
    EXPECT_FALSE(values[1].ultimateMoment.present);
}

TEST(ReportReaders, CsvTablesAreReadAsRfc4180)
{
    auto table = parseCsv("a,\"b, c\",\"say \"\"hi\"\"\"\r\n1,2,3\r\n4,,6\r\n");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->header, (std::vector<std::string>{"a", "b, c", "say \"hi\""}));
    ASSERT_EQ(table->rows.size(), 2u);
    EXPECT_EQ(table->rows[1], (std::vector<std::string>{"4", "", "6"}));
    EXPECT_TRUE(parseCsv("a,b\n1,2"));                     // LF and no final line end
    EXPECT_FALSE(parseCsv("a,b\r\n1,2,3\r\n"));            // a row of another width
    EXPECT_FALSE(parseCsv("a,\"b\r\n"));                   // an unclosed quote
    EXPECT_FALSE(parseCsv(""));
}

TEST(ReportArguments, ReportOptionsAreTakenOutOfTheCommandLine)
{
    struct Case {
        std::vector<std::string> arguments;
        bool report, pdf;
        std::string browser, failure;
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        {{"Flexura", "/s/BOX.ana"}, false, false, "", "", {"Flexura", "/s/BOX.ana"}},
        {{"Flexura", "--report", "/s/BOX.ana"}, true, false, "", "", {"Flexura", "/s/BOX.ana"}},
        {{"Flexura", "/s/BOX.ana", "--pdf"}, true, true, "", "", {"Flexura", "/s/BOX.ana"}},
        {{"Flexura", "--browser", "/opt/c/chrome", "BOX.ana"}, true, true, "/opt/c/chrome", "", {"Flexura", "BOX.ana"}},
        {{"Flexura", "BOX.ana", "--browser"}, false, false, "", "--browser needs the path of a Chromium or Chrome program", {}},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        std::vector<std::string> copies = c.arguments;
        for (std::string& a : copies) argv.push_back(a.data());
        const ParsedArguments parsed = parseReportArguments(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(parsed.failure, c.failure);
        if (!c.failure.empty()) continue;
        EXPECT_EQ(parsed.request.report, c.report);
        EXPECT_EQ(parsed.request.pdf, c.pdf);
        EXPECT_EQ(parsed.request.browser, c.browser);
        EXPECT_EQ(parsed.kept, c.kept);
    }
}

TEST(ReportWarnings, RepeatedResultsFilesAndResidualStressTakenAsZero)
{
    CaseData data;
    SectionElement slender, stocky;
    slender.dimensions = {4200, 800, 16, 0, 0, 0, 0};   // b/t 50
    stocky.dimensions = {4200, 100, 12, 0, 0, 0, 0};    // b/t 8.33; 9.09 with 1 mm off (code 2)
    data.elements = {slender, stocky, stocky};
    auto study = [](int number, int corrosion, float eta, const char* results) {
        CaseStudy s;
        s.number = number;
        s.letter = static_cast<char>(64 + number);
        s.options.corrosionCode = corrosion;
        s.options.tensionBlockWidth = eta;
        s.resultsFileName = results;
        return s;
    };
    data.studies = {study(1, 0, 4.5f, "jc310400.000"), study(2, 0, 4.0f, "jc310400.000"),
                    study(3, 2, 4.3f, "jc312400.000")};
    const std::vector<std::string> warnings = caseWarnings(data);
    ASSERT_EQ(warnings.size(), 2u) << (warnings.empty() ? "" : warnings.back());
    EXPECT_EQ(warnings[0], "Case studies 1 (A) and 2 (B) share the case results file jc310400.000; it now holds "
                           "case study 2 (B) only.");
    // b/t 8.33 <= 9 in A; 8.33 > 8 in B; in C 8.33 would be <= 8.6, but with the corrosion
    // allowance the plate is 1 mm thinner and 9.09 > 8.6.
    EXPECT_EQ(warnings[1], "Case study A: residual stress taken as 0 for elements 2, 3: plate width over thickness "
                           "is not above twice the tension block width 4.5.");
}

// ---- Flexura --report on the calculated box girder ---------------------------------------

std::string readWhole(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Outcome {
    int status = -1;
    std::string errors;
};

Outcome run(const fs::path& directory, const std::string& arguments, const std::string& environment = {})
{
    const fs::path errors = directory / ".stderr";
    const std::string command = "cd '" + directory.string() + "' && timeout 120 env -u DISPLAY -u WAYLAND_DISPLAY " +
                                environment + " " + arguments + " </dev/null >/dev/null 2>'" + errors.string() + "'";
    const int raw = std::system(command.c_str());
    Outcome outcome{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readWhole(errors)};
    fs::remove(errors);
    return outcome;
}

class ReportRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("report-" + std::to_string(std::random_device{}()));
        calculatedBox(dir, "BOX");
    }
    void TearDown() override { fs::remove_all(dir); }

    static void calculatedBox(const fs::path& where, const std::string& stem)
    {
        fs::create_directories(where);
        for (const char* extension : {".ana", ".geo", ".pro"})
            fs::copy_file(fs::path(EXAMPLES_DIR) / ("box/BOX" + std::string(extension)), where / (stem + extension));
        const Outcome strakon = run(where, std::string("'") + STRAKON_PROGRAM + "' '" + (where / (stem + ".ana")).string() + "'");
        ASSERT_EQ(strakon.status, 0) << strakon.errors;
    }
    Outcome report(const std::string& options, const std::string& environment = {})
    {
        return run(dir, std::string("'") + FLEXURA_PROGRAM + "' " + options + " '" + (dir / "BOX.ana").string() + "'",
                   environment);
    }

    fs::path dir;
};

TEST_F(ReportRun, AssessmentFilesDamagedCasesAndFilesAreInTheReport)
{
    std::ofstream(dir / "BOX_check.csv", std::ios::binary)
        << "case,condition,direction,Msw (kN.m),Mwv (kN.m),gamma_S,gamma_W,gamma_M,gamma_DB,M (kN.m),Mu (kN.m),"
           "Mu/gamma_R (kN.m),utilisation,verdict\r\n"
           "intact,seagoing,sagging,12000,18000,1,1.2,1.05,1.1,33600,33369.6,28891.4,1.163,FAIL\r\n"
           "intact,seagoing,hogging,-8000,-16000,1,1.2,1.05,1.1,-27200,-42280.9,-36606.8,0.743,PASS\r\n"
           "\"bottom, 2 m\",damaged,sagging,12000,12600,1,0.67,1.1,1,20442,30000.0,27272.7,0.750,PASS\r\n";
    std::ofstream(dir / "BOX_interaction.csv", std::ios::binary)
        << "angle (deg),Mu (kN.m),Mv (kN.m),Mh (kN.m),peak step,peak reached\r\n"
           "0,33369.6,33369.6,0,22,yes\r\n90,40000,0,40000,30,yes\r\n180,42280.9,-42280.9,0,50,no\r\n";
    calculatedBox(dir / "BOX_bottom, 2 m", "BOX");
    fs::create_directories(dir / "BOX_notadamage");   // no .ana: not a damaged case

    const Outcome outcome = report("--report");
    ASSERT_EQ(outcome.status, 0) << outcome.errors;
    const std::string html = readWhole(dir / "BOX_report.html");
    ASSERT_FALSE(html.empty());
    EXPECT_NE(html.find("id=\"check-table\""), std::string::npos);
    EXPECT_NE(html.find("<td class=\"fail\">FAIL</td>"), std::string::npos);
    EXPECT_NE(html.find("<td class=\"pass\">PASS</td>"), std::string::npos);
    EXPECT_NE(html.find("id=\"interaction-table\""), std::string::npos);
    EXPECT_NE(html.find("<title>Interaction diagram</title>"), std::string::npos);
    EXPECT_NE(html.find("Damaged case &ldquo;bottom, 2 m&rdquo;"), std::string::npos);
    EXPECT_NE(html.find("class=\"damaged-mu\""), std::string::npos);
    EXPECT_EQ(html.find("notadamage"), std::string::npos);
    // Study A (yield only) still climbs at step 50; B peaks at step 22.
    EXPECT_NE(html.find("<td>50 (peak not reached)</td></tr>"), std::string::npos);
    EXPECT_NE(html.find("<td>22</td></tr>"), std::string::npos);
    // The appendix names every file read with its size and hash.
    for (const char* name : {"BOX.ana", "BOX.geo", "BOX.pro", "BOX.rst", "BOX.teA", "BOX.teD", "BOX_check.csv",
                             "BOX_interaction.csv", "BOX_bottom, 2 m/BOX.rst"}) {
        const std::string bytes = readWhole(dir / name);
        const std::string row = "<tr><td>" + tarnova::flexura::htmlText(name) + "</td><td class=\"n\">" +
                                std::to_string(bytes.size()) + "</td><td class=\"hash\">" + tarnova::sha256Hex(bytes);
        EXPECT_NE(html.find(row), std::string::npos) << name;
    }
    // Sections in their order; no script and no outside resource.
    std::size_t at = 0;
    for (const char* id : {"title", "inputs", "properties", "ultimate", "maps", "assessment", "warnings", "files"}) {
        const std::size_t found = html.find("<section id=\"" + std::string(id) + "\"");
        ASSERT_NE(found, std::string::npos) << id;
        EXPECT_GT(found, at) << id;
        at = found;
    }
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("src=\"http"), std::string::npos);
    EXPECT_EQ(html.find("href="), std::string::npos);
}

TEST_F(ReportRun, GeometryWarningsOfTheCheckAreListed)
{
    // A yield stress typed with its decimal point one place off, after the calculation.
    std::ofstream(dir / "BOX.pro", std::ios::binary) << "      23.5  206000.0\r\n";
    const Outcome outcome = report("--report");
    ASSERT_EQ(outcome.status, 0) << outcome.errors;
    const std::string html = readWhole(dir / "BOX_report.html");
    const std::size_t warnings = html.find("<section id=\"warnings\"");
    ASSERT_NE(warnings, std::string::npos);
    EXPECT_NE(html.find("a decimal point one place off", warnings), std::string::npos);
}

TEST_F(ReportRun, AnAssessmentFileOfAnotherFormIsNamedNotShown)
{
    std::ofstream(dir / "BOX_check.csv", std::ios::binary) << "case,verdict\r\nintact,PASS\r\n";
    ASSERT_EQ(report("--report").status, 0);
    const std::string html = readWhole(dir / "BOX_report.html");
    EXPECT_EQ(html.find("id=\"check-table\""), std::string::npos);
    EXPECT_NE(html.find("BOX_check.csv is not the table the assessment writes"), std::string::npos);
}

TEST_F(ReportRun, WithoutABrowserThePdfFailsAndTheHtmlIsWritten)
{
    Outcome outcome = report("--pdf", "PATH=/nonexistent");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.errors.find("no Chromium or Chrome found"), std::string::npos) << outcome.errors;
    EXPECT_TRUE(fs::exists(dir / "BOX_report.html"));
    EXPECT_FALSE(fs::exists(dir / "BOX_report.pdf"));

    fs::remove(dir / "BOX_report.html");
    outcome = report("--browser /bin/false");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.errors.find("printed no PDF"), std::string::npos) << outcome.errors;
    EXPECT_TRUE(fs::exists(dir / "BOX_report.html"));
    EXPECT_FALSE(fs::exists(dir / "BOX_report.pdf"));
}

TEST_F(ReportRun, ClassicRunWritesNoReport)
{
    ASSERT_EQ(run(dir, std::string("'") + FLEXURA_PROGRAM + "' '" + (dir / "BOX.ana").string() + "'").status, 0);
    EXPECT_TRUE(fs::exists(dir / "BOX_mk.png"));
    EXPECT_FALSE(fs::exists(dir / "BOX_report.html"));
    // The images carry the suite's version in their text chunk.
    EXPECT_NE(readWhole(dir / "BOX_mk.png").find("tEXtSoftware"), std::string::npos);
    const std::string csv = readWhole(dir / "BOX_mk.csv");
    EXPECT_EQ(csv.find("TARNOVA"), std::string::npos);   // the tables keep their form
}

} // namespace
