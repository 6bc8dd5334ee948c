#include "Tables.hpp"

namespace tarnova::calcrun {

ElementTable element;
MaterialTable material;
CaseOptions options;
SectionScalars section;
TrippingTable trippingStress;
RunContext context;

} // namespace tarnova::calcrun
