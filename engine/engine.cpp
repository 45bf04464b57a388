#include "engine/engine.h"

namespace vx {

Engine::Engine() = default;
Engine::~Engine() = default;

}  // namespace vx
