// Built without a window system: every program runs headless.

#include "display/Backend.hpp"

namespace tarnova {

std::unique_ptr<Backend> makeWindowBackend() { return nullptr; }

} // namespace tarnova
