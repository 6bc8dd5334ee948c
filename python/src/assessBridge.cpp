#include "assessBridge.hpp"

#include <filesystem>

namespace tarnova::python {

namespace {

CaseOptionsInput optionsInput(const StudyOptions& o)
{
    return {o.behaviour, o.shedding, o.corrosion, o.tensionBlockWidth, o.heel, o.distortion, o.spare};
}

collaudo::CaseInput caseInput(const CaseData& data)
{
    collaudo::CaseInput in;
    in.name = data.name;
    SectionInput& s = in.section;
    s.title = data.title;
    s.headings = data.headings;
    s.firstHeaderValue = data.header[0];
    s.breadth = data.header[1];
    s.depth = data.header[2];
    const SectionColumns& c = data.section;
    for (std::size_t i = 0; i < c.count(); ++i) {
        const auto& r = c.reals;
        s.elements.push_back({r[0][i], r[1][i], r[2][i], r[3][i], r[4][i], r[5][i], r[6][i], r[7][i], r[8][i],
                              r[9][i], r[10][i], r[11][i], c.orientation[i], c.kind[i]});
    }
    for (std::size_t k = 0; k < data.yieldStress.size() && k < data.youngsModulus.size(); ++k)
        s.materials.push_back({data.yieldStress[k], data.youngsModulus[k]});
    for (const StudyOptions& o : data.studies) in.studies.push_back(optionsInput(o));
    if (in.studies.empty()) throw InputError("the case has no case studies");
    return in;
}

// The engine's stops and the assessment's refusals as the bridge's errors.
template <typename Body>
auto guarded(Body&& body) -> decltype(body())
{
    try {
        return body();
    } catch (const CaseStudyStopped& stop) {
        throw CollapseStop(stop.what(), 0, 0);
    } catch (const collaudo::CaseInputError& error) {
        throw InputError(error.what());
    }
}

void requireStudy(int study, const CaseData& data, const char* what)
{
    if (study < 1 || study > static_cast<int>(data.studies.size()))
        throw InputError(std::string(what) + " names case study " + std::to_string(study) + " and the case has " +
                         std::to_string(data.studies.size()));
}

} // namespace

collaudo::Limits readLimitsFile(const std::string& path)
{
    if (!std::filesystem::exists(path)) throw MissingFile(path + " not found");
    // The case is not known yet: a study is checked against the case when it is assessed.
    const collaudo::LimitsOutcome out = collaudo::readLimits(path, 26);
    if (!out.faults.empty()) {
        std::string list = collaudo::faultList(out.faults, std::filesystem::path(path).filename().string());
        if (!list.empty() && list.back() == '\n') list.pop_back();
        throw InputError(list);
    }
    return out.limits;
}

collaudo::Assessment assessCase(const CaseData& data, const collaudo::Limits& limits, int threads)
{
    requireStudy(limits.study, data, "the limits' study");
    requireStudy(limits.interactionStudy, data, "the interaction's study");
    if (limits.angleCount < 1 || limits.angleCount > collaudo::maxAngleCount)
        throw InputError("the angle count must be 1 to " + std::to_string(collaudo::maxAngleCount));
    return guarded([&] { return collaudo::assess(caseInput(data), limits, threads, false); });
}

std::vector<collaudo::InteractionPoint> interactionOf(const CaseData& data, int study,
                                                      const std::vector<double>& angles, int threads)
{
    requireStudy(study, data, "study");
    for (double a : angles)
        if (!(a >= -180.0 && a <= 360.0)) throw InputError("angles are degrees from -180 to 360");
    return guarded([&] {
        const collaudo::CaseInput in = caseInput(data);
        return collaudo::interaction(in.section, in.studies[static_cast<std::size_t>(study - 1)], angles, threads);
    });
}

} // namespace tarnova::python
