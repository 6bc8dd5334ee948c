#include "Tables.hpp"

namespace tarnova::calcrun {

ElementTable element;
MaterialTable material;
CaseOptions options;
SectionScalars section;
TrippingTable trippingStress;
StepTable stepResults;
Ultimate ultimate;
RunContext context;

} // namespace tarnova::calcrun
