#pragma once
// A set of complex values for the list built-ins, open addressing over a
// power-of-two table. Values are equal when both parts compare equal with
// ==, so 0 and -0 are one value and a value with a NaN part finds nothing.
#include <bit>
#include <cstdint>
#include <vector>

#include "engine/value.h"

namespace vx::listmat {

class ValueSet {
public:
    explicit ValueSet(size_t expected) : slots_(std::bit_ceil(expected * 2 + 8)) {}

    // Adds z with this id unless an equal value is present; true when added.
    // z must have no NaN part.
    bool insert(Complex z, int id) {
        for (size_t k = home(z);; k = next(k)) {
            Slot& s = slots_[k];
            if (s.id < 0) {
                s = Slot{z, id};
                return true;
            }
            if (s.value.re == z.re && s.value.im == z.im) return false;
        }
    }
    // The id of the value equal to z, or -1.
    int find(Complex z) const {
        for (size_t k = home(z);; k = next(k)) {
            const Slot& s = slots_[k];
            if (s.id < 0) return -1;
            if (s.value.re == z.re && s.value.im == z.im) return s.id;
        }
    }

private:
    struct Slot {
        Complex value{};
        int id = -1;
    };
    size_t home(Complex z) const {
        // Adding +0 turns -0 into +0, so that equal values hash alike.
        const std::uint64_t re = std::bit_cast<std::uint64_t>(z.re + 0.0);
        const std::uint64_t im = std::bit_cast<std::uint64_t>(z.im + 0.0);
        std::uint64_t h = (re ^ (im * 0x9E3779B97F4A7C15ull)) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
        return static_cast<size_t>(h) & (slots_.size() - 1);
    }
    size_t next(size_t k) const { return (k + 1) & (slots_.size() - 1); }
    std::vector<Slot> slots_;
};

}  // namespace vx::listmat
