#include "assessment.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <exception>
#include <thread>

namespace tarnova::collaudo {

namespace {

constexpr double rotationNoteShare = 0.05;   // |My| beyond 5 % of |Mx|: the real axis would rotate
constexpr double sagging = 0.0, hogging = 180.0;

CaseOptionsInput withHeel(CaseOptionsInput options, double angle)
{
    options.heelAngle = engineHeel(angle);
    return options;
}

bool sameOptions(const CaseOptionsInput& a, const CaseOptionsInput& b)
{
    return a.behaviourCode == b.behaviourCode && a.sheddingCode == b.sheddingCode &&
           a.corrosionCode == b.corrosionCode && a.tensionBlockWidth == b.tensionBlockWidth &&
           a.distortionCoefficient == b.distortionCoefficient && a.spareOption == b.spareOption;
}

SectionInput withoutElements(const SectionInput& section, const std::vector<int>& removed)
{
    SectionInput out = section;
    out.elements.clear();
    std::size_t next = 0;
    for (std::size_t i = 0; i < section.elements.size(); ++i) {
        if (next < removed.size() && static_cast<std::size_t>(removed[next]) == i) {
            ++next;
            continue;
        }
        out.elements.push_back(section.elements[i]);
    }
    return out;
}

std::string peakNote(const std::string& what, const StudySummary& s)
{
    return what + ": largest moment at the last step (" + std::to_string(s.peakStep) +
           "): Mu is that step's moment, the peak was not reached";
}

} // namespace

StudySummary summarise(const CaseStudyResult& result)
{
    StudySummary s;
    s.ultimate = static_cast<double>(result.ultimate.moment) / newtonMillimetresPerKilonewtonMetre;
    s.momentX = static_cast<double>(result.ultimate.momentX) / newtonMillimetresPerKilonewtonMetre;
    s.momentY = static_cast<double>(result.ultimate.momentY) / newtonMillimetresPerKilonewtonMetre;
    float largest = 0;
    for (std::size_t k = 0; k < result.steps.size(); ++k) {
        if (k == 0 || result.steps[k].moment > largest) {
            largest = result.steps[k].moment;
            s.peakStep = static_cast<int>(k) + 1;
        }
    }
    s.peakReached = s.peakStep < static_cast<int>(result.steps.size());
    double largestRatio = 0;
    for (int i = 0; i < result.elementCount && static_cast<std::size_t>(i) < result.strainRatio.size(); ++i) {
        const double ratio = std::fabs(static_cast<double>(result.strainRatio[static_cast<std::size_t>(i)]));
        if (ratio > largestRatio) {
            largestRatio = ratio;
            s.firstYieldElement = i + 1;
        }
    }
    if (largestRatio > 0 && !result.steps.empty())
        s.firstYield = static_cast<double>(result.steps.front().moment) / newtonMillimetresPerKilonewtonMetre / largestRatio;
    return s;
}

CheckRow checkRow(std::string caseName, std::string condition, std::string direction, double msw, double mwv,
                  double gammaS, double gammaW, double gammaM, double gammaDB, double ultimate)
{
    CheckRow r;
    r.caseName = std::move(caseName);
    r.condition = std::move(condition);
    r.direction = std::move(direction);
    r.msw = msw;
    r.mwv = mwv;
    r.gammaS = gammaS;
    r.gammaW = gammaW;
    r.gammaM = gammaM;
    r.gammaDB = gammaDB;
    r.moment = gammaS * msw + gammaW * mwv;
    r.ultimate = ultimate;
    r.capacity = ultimate / (gammaM * gammaDB);
    r.utilisation = r.capacity > 0 ? r.moment / r.capacity : INFINITY;
    r.pass = r.moment <= r.capacity;
    return r;
}

Zone damageZone(const Damage& damage, const SectionInput& section)
{
    if (damage.kind == DamageKind::box) return {damage.xMin, damage.xMax, damage.yMin, damage.yMax};
    double xMin = INFINITY, xMax = -INFINITY, yMin = INFINITY, yMax = -INFINITY;
    for (const ElementRecord& e : section.elements) {
        xMin = std::min(xMin, static_cast<double>(e.x));
        xMax = std::max(xMax, static_cast<double>(e.x));
        yMin = std::min(yMin, static_cast<double>(e.y));
        yMax = std::max(yMax, static_cast<double>(e.y));
    }
    const double breadth = xMax - xMin, depth = yMax - yMin;
    if (damage.kind == DamageKind::collision) {
        const double inboard = breadth * collisionDepthOfBreadth;
        const double below = depth * collisionHeightOfDepth;
        return damage.starboard ? Zone{xMax - inboard, xMax, yMax - below, yMax}
                                : Zone{xMin, xMin + inboard, yMax - below, yMax};
    }
    const double centre = 0.5 * (xMin + xMax), half = 0.5 * groundingWidthOfBreadth * breadth;
    const double height = std::min(breadth * groundingHeightOfBreadth, groundingHeightLimit);
    return {centre - half, centre + half, yMin, yMin + height};
}

std::vector<int> elementsInZone(const Zone& zone, const SectionInput& section)
{
    std::vector<int> inside;
    for (std::size_t i = 0; i < section.elements.size(); ++i) {
        const double x = section.elements[i].x, y = section.elements[i].y;
        if (x >= zone.xMin && x <= zone.xMax && y >= zone.yMin && y <= zone.yMax) inside.push_back(static_cast<int>(i));
    }
    return inside;
}

// The calculator carries heels from -99.9 to 999.9 degrees (what its F5.1 fields print): an angle
// below that range is given as the same direction in 0 to 360.
float engineHeel(double angle)
{
    return static_cast<float>(angle < -99.9 ? angle + 360.0 : angle);
}

std::vector<double> interactionAngles(int count)
{
    std::vector<double> angles;
    for (int k = 0; k < count; ++k) angles.push_back(360.0 * k / count);
    return angles;
}

void runParallel(std::size_t count, int threads, const std::function<void(std::size_t)>& job)
{
    std::vector<std::exception_ptr> errors(count);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                job(i);
            } catch (...) {
                errors[i] = std::current_exception();
            }
        }
    };
    std::size_t n = threads > 0 ? static_cast<std::size_t>(threads) : std::max(1u, std::thread::hardware_concurrency());
    n = std::min(n, std::max<std::size_t>(count, 1));
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < n; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    for (const std::exception_ptr& e : errors)
        if (e) std::rethrow_exception(e);
}

namespace {

InteractionPoint pointOf(double angle, const StudySummary& s)
{
    constexpr double degree = 3.14159265358979323846 / 180.0;
    InteractionPoint p;
    p.angle = angle;
    p.ultimate = s.ultimate;
    p.vertical = s.ultimate * std::cos(angle * degree);
    p.horizontal = s.ultimate * std::sin(angle * degree);
    p.peakStep = s.peakStep;
    p.peakReached = s.peakReached;
    return p;
}

} // namespace

std::vector<InteractionPoint> interaction(const SectionInput& section, const CaseOptionsInput& options,
                                          const std::vector<double>& angles, int threads)
{
    std::vector<InteractionPoint> points(angles.size());
    runParallel(angles.size(), threads, [&](std::size_t i) {
        points[i] = pointOf(angles[i], summarise(runCaseStudy(section, withHeel(options, angles[i]))));
    });
    return points;
}

Assessment assess(const CaseInput& input, const Limits& limits, int threads, bool writeCases)
{
    Assessment a;
    a.caseName = input.name;
    a.study = limits.study;
    a.interactionStudy = limits.interactionStudy;
    a.options = input.studies.at(static_cast<std::size_t>(limits.study - 1));
    const CaseOptionsInput interactionOptions = input.studies.at(static_cast<std::size_t>(limits.interactionStudy - 1));
    const std::vector<double> angles = interactionAngles(limits.angleCount);

    // The damages first (each runs two studies, the longest jobs), then the angles, then the
    // intact check's two studies when the interaction does not already hold them.
    std::vector<std::vector<int>> removed;
    for (const Damage& d : limits.damages) {
        DamageResult r;
        r.damage = d;
        r.zone = damageZone(d, input.section);
        removed.push_back(elementsInZone(r.zone, input.section));
        r.removed = static_cast<int>(removed.back().size());
        r.remaining = static_cast<int>(input.section.elements.size()) - r.removed;
        r.folder = (input.directory.empty() ? std::string() : input.directory + "/") + input.name + "_" + d.name;
        if (r.remaining < 1) throw CaseInputError("damage " + d.name + " removes every element of the section");
        a.damages.push_back(r);
    }
    const bool shared = sameOptions(a.options, interactionOptions) && limits.angleCount % 2 == 0;
    const std::size_t damageJobs = a.damages.size(), angleJobs = angles.size(), intactJobs = shared ? 0 : 2;
    std::vector<StudySummary> angleResults(angleJobs), intact(2);
    runParallel(damageJobs + angleJobs + intactJobs, threads, [&](std::size_t job) {
        if (job < damageJobs) {
            DamageResult& r = a.damages[job];
            const std::vector<CaseOptionsInput> studies{withHeel(a.options, sagging), withHeel(a.options, hogging)};
            std::vector<CaseStudyResult> results;
            if (writeCases) {
                results = writeAndRunCase(r.folder, input.name, damagedCaseTexts(input, removed[job], studies));
            } else {
                const SectionInput damaged = withoutElements(input.section, removed[job]);
                for (const CaseOptionsInput& o : studies) results.push_back(runCaseStudy(damaged, o));
            }
            r.sagging = summarise(results.at(0));
            r.hogging = summarise(results.at(1));
            return;
        }
        job -= damageJobs;
        if (job < angleJobs) {
            angleResults[job] = summarise(runCaseStudy(input.section, withHeel(interactionOptions, angles[job])));
            return;
        }
        job -= angleJobs;
        intact[job] = summarise(runCaseStudy(input.section, withHeel(a.options, job == 0 ? sagging : hogging)));
    });
    for (std::size_t i = 0; i < angleJobs; ++i) a.interaction.push_back(pointOf(angles[i], angleResults[i]));
    a.sagging = shared ? angleResults.front() : intact[0];
    a.hogging = shared ? angleResults[angleJobs / 2] : intact[1];

    for (const Condition& c : limits.conditions) {
        CheckRow s = checkRow("intact", c.name, "sagging", c.mswSagging, c.mwvSagging, c.gammaS, c.gammaW, c.gammaM,
                              c.gammaDbSagging, a.sagging.ultimate);
        s.peakReached = a.sagging.peakReached;
        a.rows.push_back(s);
        CheckRow h = checkRow("intact", c.name, "hogging", c.mswHogging, c.mwvHogging, c.gammaS, c.gammaW, c.gammaM,
                              c.gammaDbHogging, a.hogging.ultimate);
        h.peakReached = a.hogging.peakReached;
        a.rows.push_back(h);
    }
    // Residual strength: MD = gammaS Msw + gammaW Mwv against C_NA MuD / gammaRD; the factor
    // columns hold gammaRD as gamma_M and 1 / C_NA as gamma_DB.
    for (DamageResult& r : a.damages) {
        const Damage& d = r.damage;
        for (const Condition& c : limits.conditions) {
            CheckRow s = checkRow(d.name, c.name, "sagging", c.mswSagging, c.mwvSagging, d.gammaS, d.gammaW, d.gammaRD,
                                  1.0 / d.neutralAxis, r.sagging.ultimate);
            s.peakReached = r.sagging.peakReached;
            a.rows.push_back(s);
            CheckRow h = checkRow(d.name, c.name, "hogging", c.mswHogging, c.mwvHogging, d.gammaS, d.gammaW, d.gammaRD,
                                  1.0 / d.neutralAxis, r.hogging.ultimate);
            h.peakReached = r.hogging.peakReached;
            a.rows.push_back(h);
        }
        for (const StudySummary* s : {&r.sagging, &r.hogging})
            r.rotates = r.rotates || std::fabs(s->momentY) > rotationNoteShare * std::fabs(s->momentX);
    }

    if (!a.sagging.peakReached) a.notes.push_back(peakNote("intact sagging", a.sagging));
    if (!a.hogging.peakReached) a.notes.push_back(peakNote("intact hogging", a.hogging));
    for (const DamageResult& r : a.damages) {
        if (r.removed == 0) a.notes.push_back("damage " + r.damage.name + " removes no element");
        if (!r.sagging.peakReached) a.notes.push_back(peakNote(r.damage.name + " sagging", r.sagging));
        if (!r.hogging.peakReached) a.notes.push_back(peakNote(r.damage.name + " hogging", r.hogging));
        if (r.rotates) {
            a.notes.push_back("damage " + r.damage.name +
                              ": |My| above 5 % of |Mx| at Mu; the real neutral axis would rotate, the method keeps "
                              "its inclination");
        }
    }
    for (const InteractionPoint& p : a.interaction) {
        if (!p.peakReached) {
            char text[96];
            std::snprintf(text, sizeof text, "interaction at %.1f degrees: largest moment at the last step", p.angle);
            a.notes.push_back(text);
        }
    }
    return a;
}

} // namespace tarnova::collaudo
