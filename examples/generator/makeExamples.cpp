// Writes the example cases in the calculator's fixed-column layouts:
//   makeExamples <examplesDir>          tanker/TANKER.{ana,geo,pro} and box/BOX.{ana,geo,pro}
//   makeExamples --large <dir>          LARGE.{ana,geo,pro}: a 600-element box girder, one case
//                                       study (the size the calculator is timed on)
//
// The tanker is a double-hull midship section of about 300 elements: deck, bottom, inner bottom,
// side shell and inner sides with T longitudinals, a centreline longitudinal bulkhead, double
// bottom girders and double side stringers as bare plates, and hard corners at every plate
// junction; mild steel (235 N/mm2) and higher-strength steel (355 N/mm2).

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// One element record of the geometry file, in its own units (mm).
struct Element {
    double frameSpacing, plateWidth, plateThickness;
    double flangeWidth, flangeThickness, webHeight, webThickness;
    int propertySet;
    double x, y;
    int orientation;   // stiffener direction: 1 -y, 2 +y, 3 -x, 4 +x
    int elementKind;   // 1 hard corner, 3 stiffened plate
};

// Stiffener: web height x thickness, flange width x thickness (all zero for a bare plate).
struct Stiffener {
    double webHeight, webThickness, flangeWidth, flangeThickness;
};

// A run of plating with the same scantlings.
struct Plating {
    double thickness;
    Stiffener stiffener;
    int propertySet;
};

constexpr int mildSteel = 1;     // 235 N/mm2
constexpr int higherSteel = 2;   // 355 N/mm2
constexpr double webFrameSpacing = 4200.0;

class Section {
public:
    std::vector<Element> elements;

    void add(double plateWidth, const Plating& p, double x, double y, int orientation, int kind)
    {
        elements.push_back({webFrameSpacing, plateWidth, p.thickness, p.stiffener.flangeWidth,
                            p.stiffener.flangeThickness, p.stiffener.webHeight,
                            p.stiffener.webThickness, p.propertySet, x, y, orientation, kind});
    }

    // Longitudinals at the interior points of the straight run from (x0, y0) to (x1, y1) divided
    // into `spacings` equal spacings; the end points are junctions modelled elsewhere.
    void stiffenedRun(double x0, double y0, double x1, double y1, int spacings, const Plating& p,
                      int orientation)
    {
        const double dx = (x1 - x0) / spacings;
        const double dy = (y1 - y0) / spacings;
        const double width = std::hypot(dx, dy);
        for (int i = 1; i < spacings; ++i)
            add(width, p, x0 + i * dx, y0 + i * dy, orientation, 3);
    }

    // Bare plate strips covering the run from (x0, y0) to (x1, y1), each at its strip's centre.
    void bareRun(double x0, double y0, double x1, double y1, int strips, const Plating& p,
                 int orientation)
    {
        const double dx = (x1 - x0) / strips;
        const double dy = (y1 - y0) / strips;
        const double width = std::hypot(dx, dy);
        for (int i = 0; i < strips; ++i)
            add(width, p, x0 + (i + 0.5) * dx, y0 + (i + 0.5) * dy, orientation, 3);
    }

    void hardCorner(double width, double thickness, int propertySet, double x, double y)
    {
        add(width, Plating{thickness, {0, 0, 0, 0}, propertySet}, x, y, 1, 1);
    }
};

// The double-hull tanker: breadth 42 m, depth 21 m, double bottom 2.2 m, double side 2.0 m.
Section tankerSection()
{
    constexpr double breadth = 42000, depth = 21000, bottomHeight = 2200, sideWidth = 2000;
    constexpr double centre = breadth / 2;
    const double stringerHeights[] = {7500, 14000};

    const Plating deck{18.0, {350, 12, 125, 18}, higherSteel};
    const Plating bottom{19.0, {450, 12.5, 150, 20}, higherSteel};
    const Plating innerBottom{17.0, {400, 12, 125, 18}, higherSteel};
    const Plating sideLower{17.0, {350, 12, 100, 17}, higherSteel};
    const Plating sideMiddle{16.0, {300, 11, 100, 15}, mildSteel};
    const Plating sideUpper{16.0, {300, 11, 100, 16}, higherSteel};
    const Plating innerSideLower{16.0, {300, 11, 100, 15}, mildSteel};
    const Plating innerSideMiddle{15.0, {280, 11, 100, 15}, mildSteel};
    const Plating innerSideUpper{15.0, {280, 11, 100, 15}, higherSteel};
    const Plating bulkheadLower{16.0, {350, 12, 100, 17}, higherSteel};
    const Plating bulkheadMiddle{15.0, {320, 11, 100, 15}, mildSteel};
    const Plating bulkheadUpper{15.0, {320, 11, 100, 15}, higherSteel};
    const Plating sideGirder{16.0, {0, 0, 0, 0}, mildSteel};
    const Plating centreGirder{18.0, {0, 0, 0, 0}, higherSteel};
    const Plating stringer{14.0, {0, 0, 0, 0}, mildSteel};

    Section s;
    // Stiffeners hang below the deck (reference point on the plate's underside).
    const double deckY = depth - deck.thickness;
    const double deckJunctions[] = {0, sideWidth, centre, breadth - sideWidth, breadth};
    const int deckSpacings[] = {3, 22, 22, 3};
    for (int j = 0; j < 5; ++j) {
        s.hardCorner(864, deck.thickness, higherSteel, deckJunctions[j], deckY);
        if (j < 4)
            s.stiffenedRun(deckJunctions[j], deckY, deckJunctions[j + 1], deckY, deckSpacings[j],
                           deck, 1);
    }

    // Bottom shell, stiffeners pointing up; girders stand on the junctions.
    const double girders[] = {sideWidth, 6000, 11000, 16000, centre,
                              26000, 31000, 36000, breadth - sideWidth};
    const double bottomY = bottom.thickness;
    const double bottomJunctions[] = {0,     sideWidth, 6000,  11000, 16000, centre,
                                      26000, 31000,     36000, breadth - sideWidth, breadth};
    const int bottomSpacings[] = {3, 5, 6, 6, 6, 6, 6, 6, 5, 3};
    for (int j = 0; j < 11; ++j) {
        s.hardCorner(820, bottom.thickness, higherSteel, bottomJunctions[j], bottomY);
        if (j < 10)
            s.stiffenedRun(bottomJunctions[j], bottomY, bottomJunctions[j + 1], bottomY,
                           bottomSpacings[j], bottom, 2);
    }

    // Inner bottom, stiffeners hanging into the double bottom.
    const double innerBottomY = bottomHeight - innerBottom.thickness;
    const int innerBottomSpacings[] = {5, 6, 6, 6, 6, 6, 6, 5};
    for (int j = 0; j < 9; ++j) {
        s.hardCorner(820, innerBottom.thickness, higherSteel, girders[j], innerBottomY);
        if (j < 8)
            s.stiffenedRun(girders[j], innerBottomY, girders[j + 1], innerBottomY,
                           innerBottomSpacings[j], innerBottom, 1);
    }

    // Double bottom girders: bare plates between bottom and inner bottom, three strips each.
    for (double x : girders)
        s.bareRun(x, bottomY, x, innerBottomY, 3, x == centre ? centreGirder : sideGirder, 3);

    // Side shell and inner sides, both sides of the ship; stiffeners point into the double side.
    const double sideZones[] = {0, stringerHeights[0], stringerHeights[1], depth};
    const Plating* sidePlating[] = {&sideLower, &sideMiddle, &sideUpper};
    const int sideSpacings[] = {9, 8, 8};
    const double innerZones[] = {bottomHeight, stringerHeights[0], stringerHeights[1], depth};
    const Plating* innerPlating[] = {&innerSideLower, &innerSideMiddle, &innerSideUpper};
    const int innerSpacings[] = {6, 8, 8};
    for (int side = 0; side < 2; ++side) {
        const bool port = side == 0;
        const double shellX = port ? sideLower.thickness : breadth - sideLower.thickness;
        const double innerX = port ? sideWidth - innerSideLower.thickness
                                   : breadth - sideWidth + innerSideLower.thickness;
        const int shellOrientation = port ? 4 : 3;
        const int innerOrientation = port ? 3 : 4;
        for (int z = 0; z < 3; ++z) {
            s.stiffenedRun(shellX, sideZones[z], shellX, sideZones[z + 1], sideSpacings[z],
                           *sidePlating[z], shellOrientation);
            s.stiffenedRun(innerX, innerZones[z], innerX, innerZones[z + 1], innerSpacings[z],
                           *innerPlating[z], innerOrientation);
        }
        // Stringers: a hard corner at the shell and at the inner side, two bare strips between.
        for (double h : stringerHeights) {
            const double shellFace = port ? 0 : breadth;
            const double innerFace = port ? sideWidth : breadth - sideWidth;
            s.hardCorner(820, sideMiddle.thickness, mildSteel, shellFace, h);
            s.hardCorner(820, innerSideMiddle.thickness, mildSteel, innerFace, h);
            s.bareRun(shellFace, h, innerFace, h, 2, stringer, 1);
        }
    }

    // Centreline longitudinal bulkhead, stiffened on its starboard face.
    const double bulkheadX = centre + bulkheadLower.thickness / 2;
    const double bulkheadZones[] = {bottomHeight, 8200, 14600, depth};
    const Plating* bulkheadPlating[] = {&bulkheadLower, &bulkheadMiddle, &bulkheadUpper};
    for (int z = 0; z < 3; ++z) {
        s.stiffenedRun(bulkheadX, bulkheadZones[z], bulkheadX, bulkheadZones[z + 1], 8,
                       *bulkheadPlating[z], 4);
    }
    return s;
}

// A plain box girder: `across` longitudinals in deck and bottom, `down` in each side, hard corners.
Section boxSection(double breadth, double depth, int across, int down, const Plating& plating)
{
    Section s;
    const double t = plating.thickness;
    const double cornerWidth = breadth / (across + 1);
    s.hardCorner(cornerWidth, t, plating.propertySet, 0, 0);
    s.stiffenedRun(0, t, breadth, t, across + 1, plating, 2);
    s.hardCorner(cornerWidth, t, plating.propertySet, breadth, 0);
    s.stiffenedRun(breadth - t, 0, breadth - t, depth, down + 1, plating, 3);
    s.hardCorner(cornerWidth, t, plating.propertySet, breadth, depth);
    s.stiffenedRun(breadth, depth - t, 0, depth - t, across + 1, plating, 1);
    s.hardCorner(cornerWidth, t, plating.propertySet, 0, depth);
    s.stiffenedRun(t, depth, t, 0, down + 1, plating, 4);
    return s;
}

// Fixed-column fields as the calculator reads them: right-justified, with their decimal point.
std::string fixed(double value, int width, int decimals)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%*.*f", width, decimals, value);
    return buffer;
}
std::string integer(int value, int width)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%*d", width, value);
    return buffer;
}

// Records end with carriage return and line feed, as the calculator writes its own.
class RecordFile {
public:
    explicit RecordFile(const std::filesystem::path& path) : file_(std::fopen(path.c_str(), "wb"))
    {
        if (!file_) {
            std::perror(path.c_str());
            std::exit(1);
        }
    }
    ~RecordFile() { std::fclose(file_); }
    void record(const std::string& text) { std::fprintf(file_, "%s\r\n", text.c_str()); }

private:
    std::FILE* file_;
};

// Geometry file: title, header values, element count, column headings, element records
// "(7F7.1,F3.0,2F4.2,2F9.1,2I2)".
void writeGeometry(const std::filesystem::path& path, const std::string& title,
                   double headerValue, double breadth, double depth, const Section& s)
{
    RecordFile f(path);
    f.record(title);
    f.record(fixed(headerValue, 10, 1) + fixed(breadth, 10, 1) + fixed(depth, 10, 1));
    f.record(integer(static_cast<int>(s.elements.size()), 4));
    f.record(" FRSPAC PLWIDT PLTHIC FLWIDT FLTHIC WEBHEI WEBTHI PS SPR DPT"
             "        X        Y OR KD");
    for (const Element& e : s.elements) {
        f.record(fixed(e.frameSpacing, 7, 1) + fixed(e.plateWidth, 7, 1) +
                 fixed(e.plateThickness, 7, 1) + fixed(e.flangeWidth, 7, 1) +
                 fixed(e.flangeThickness, 7, 1) + fixed(e.webHeight, 7, 1) +
                 fixed(e.webThickness, 7, 1) + integer(e.propertySet, 2) + "." + " .00" +
                 " .00" + fixed(e.x, 9, 1) + fixed(e.y, 9, 1) + integer(e.orientation, 2) +
                 integer(e.elementKind, 2));
    }
}

// Properties file: one "(2F10.1)" record per property set (yield stress, Young's modulus).
void writeProperties(const std::filesystem::path& path, const std::vector<double>& yieldStresses)
{
    RecordFile f(path);
    for (double yieldStress : yieldStresses)
        f.record(fixed(yieldStress, 10, 1) + fixed(206000.0, 10, 1));
}

struct CaseStudy {
    int behaviourCode, sheddingCode, corrosionCode;
    double tensionBlockWidth, heelAngle, distortionCoefficient;
};

// Options file: the case count "(I2)", then "(3I2,F5.2,F5.1,F5.4,F4.0)" per case study.
void writeOptions(const std::filesystem::path& path, const std::vector<CaseStudy>& cases)
{
    RecordFile f(path);
    f.record(integer(static_cast<int>(cases.size()), 2));
    for (const CaseStudy& c : cases) {
        // The distortion coefficient in its implied-decimal form (15 in F5.4 is 0.0015).
        const int distortion = static_cast<int>(std::lround(c.distortionCoefficient * 10000));
        f.record(integer(c.behaviourCode, 2) + integer(c.sheddingCode, 2) +
                 integer(c.corrosionCode, 2) + fixed(c.tensionBlockWidth, 5, 2) +
                 fixed(c.heelAngle, 5, 1) + integer(distortion, 5) + "  0.");
    }
}

void writeTanker(const std::filesystem::path& dir)
{
    std::filesystem::create_directories(dir);
    const Section s = tankerSection();
    writeGeometry(dir / "TANKER.geo", "DOUBLE HULL TANKER 42.0 X 21.0 M - MIDSHIP SECTION",
                  234000.0, 42000.0, 21000.0, s);
    writeProperties(dir / "TANKER.pro", {235.0, 355.0});
    writeOptions(dir / "TANKER.ana",
                 {
                     {3, 1, 0, 4.5, 0.0, 0.0015},     // sagging, shedding
                     {3, 1, 0, 4.5, 180.0, 0.0015},   // hogging, shedding
                     {3, 2, 0, 4.5, 0.0, 0.0015},     // sagging, constant beyond collapse
                     {3, 2, 0, 4.5, 180.0, 0.0015},   // hogging, constant beyond collapse
                     {3, 1, 2, 4.5, 0.0, 0.0015},     // sagging, 1 mm corrosion allowance
                     {3, 1, 2, 4.5, 180.0, 0.0015},   // hogging, 1 mm corrosion allowance
                     {3, 1, 0, 4.5, 30.0, 0.0015},    // heeled 30 degrees
                     {1, 1, 0, 0.0, 0.0, 0.0015},     // yielding only, no residual stress
                 });
}

void writeBox(const std::filesystem::path& dir)
{
    std::filesystem::create_directories(dir);
    const Section s = boxSection(4000, 3000, 7, 5, Plating{12.0, {150, 10, 0, 0}, mildSteel});
    writeGeometry(dir / "BOX.geo", "PLAIN BOX GIRDER 4.0 X 3.0 M", 1.0, 4000.0, 3000.0, s);
    writeProperties(dir / "BOX.pro", {235.0});
    writeOptions(dir / "BOX.ana",
                 {
                     {1, 1, 0, 0.0, 0.0, 0.0},     // yielding only, no residual stress
                     {3, 1, 0, 4.5, 0.0, 0.0},     // sagging, every collapse mode
                     {3, 2, 0, 4.5, 180.0, 0.0},   // hogging, constant beyond collapse
                     {2, 1, 0, 4.5, 30.0, 0.0},    // heeled 30 degrees, no tripping
                 });
}

// 600 elements: 4 corners, 148 longitudinals in deck and bottom, 150 in each side.
void writeLarge(const std::filesystem::path& dir)
{
    std::filesystem::create_directories(dir);
    const Section s =
        boxSection(40000, 40000, 148, 150, Plating{14.0, {250, 10, 90, 12}, higherSteel});
    writeGeometry(dir / "LARGE.geo", "BOX GIRDER OF 600 ELEMENTS", 1.0, 40000.0, 40000.0, s);
    writeProperties(dir / "LARGE.pro", {235.0, 355.0});
    writeOptions(dir / "LARGE.ana", {{3, 1, 0, 4.5, 0.0, 0.0015}});
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--large") {
        writeLarge(argv[2]);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeExamples <examplesDir> | --large <dir>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    writeTanker(root / "tanker");
    writeBox(root / "box");
    return 0;
}
