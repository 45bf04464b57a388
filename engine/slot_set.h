#pragma once
// Which entries of a fixed-size table are taken, one bit each, so that the
// lowest free entry is found by looking at a few words instead of every
// entry.
#include <array>
#include <bit>
#include <cstdint>

namespace vx {

template <int Slots>
class SlotSet {
    static_assert(Slots % 64 == 0);

public:
    // The lowest free entry, or -1 when every entry is taken.
    int lowestFree() const {
        for (size_t w = 0; w < words_.size(); ++w)
            if (words_[w] != ~std::uint64_t{0}) return static_cast<int>(w * 64) + std::countr_one(words_[w]);
        return -1;
    }
    bool full() const { return lowestFree() < 0; }
    void take(int k) { words_[word(k)] |= bit(k); }
    void release(int k) { words_[word(k)] &= ~bit(k); }
    void clear() { words_.fill(0); }

private:
    static size_t word(int k) { return static_cast<size_t>(k) / 64; }
    static std::uint64_t bit(int k) { return std::uint64_t{1} << (static_cast<unsigned>(k) % 64); }
    std::array<std::uint64_t, Slots / 64> words_{};
};

}  // namespace vx
