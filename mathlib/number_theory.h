#pragma once
// gcd, rand, mod, factor, powermod, round, contfrac, contfracr, ncr and npr.
#include <cstdint>
#include <span>

#include "engine/builtin_table.h"

namespace vx {

std::span<const BuiltinEntry> numberTheoryBuiltins();

// The stored seed of rand, kept per engine; 0 at start-up.
struct RandomSeed {
    std::uint32_t seed = 0;
};

}  // namespace vx
