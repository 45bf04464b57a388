#include "plot/obj_export_text.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <exception>
#include <thread>
#include <vector>

namespace vx {

char* writeFixed6(char* out, float value) {
    const double x = value;
    // A float times 10^6 is exact in a double (24 + 20 bits of mantissa),
    // so rounding that product to an integer the way printf rounds (to
    // nearest, ties to even) gives printf's six decimals exactly.
    const double scaled = x * 1e6;
    if (std::isfinite(x) && std::fabs(scaled) < 9.0e18) {
        const auto units = static_cast<std::uint64_t>(std::nearbyint(std::fabs(scaled)));
        if (std::signbit(x)) *out++ = '-';
        out = std::to_chars(out, out + 20, units / 1000000).ptr;
        *out++ = '.';
        std::uint64_t fraction = units % 1000000;
        for (int k = 6; k-- > 0; fraction /= 10) out[k] = static_cast<char>('0' + fraction % 10);
        return out + 6;
    }
    // Huge values and the non-numbers: the general conversion, which is
    // specified to match printf.
    return std::to_chars(out, out + kMaxFixed6, x, std::chars_format::fixed, 6).ptr;
}

char* writeInteger(char* out, long long n) { return std::to_chars(out, out + 24, n).ptr; }

void ObjTextWriter::write(const char* data, size_t size) {
    if (size && std::fwrite(data, 1, size, file_) != size) failed_ = true;
}

void ObjTextWriter::text(std::string_view s) { write(s.data(), s.size()); }

void ObjTextWriter::records(size_t count, size_t maxLength, const RecordFormat& format) {
    // Blocks of about two megabytes, in reused buffers: fresh memory for
    // every block would cost more page faults than the formatting itself.
    const size_t perBlock = std::max<size_t>(1, (size_t(2) << 20) / maxLength);
    const size_t blocks = (count + perBlock - 1) / perBlock;
    const size_t blockBytes = perBlock * maxLength;
    auto formatBlock = [&](char* out, size_t block) {
        char* start = out;
        for (size_t k = block * perBlock, end = std::min(count, k + perBlock); k < end; ++k) out = format(out, k);
        return static_cast<size_t>(out - start);
    };
    const size_t wanted = std::min(static_cast<size_t>(threads_), blocks);
    if (wanted <= 1) {
        if (blocks == 0) return;
        auto buffer = std::make_unique_for_overwrite<char[]>(blockBytes);
        for (size_t b = 0; b < blocks; ++b) write(buffer.get(), formatBlock(buffer.get(), b));
        return;
    }
    // Formatting threads take every lanes-th block into a ring of 2 x lanes
    // buffers; this thread writes the blocks in order as they are done.
    // A block waits for its slot until the block two rounds before it has
    // been written.
    const size_t slots = 2 * wanted;
    auto buffer = std::make_unique_for_overwrite<char[]>(slots * blockBytes);
    std::vector<size_t> used(slots);
    std::vector<std::atomic<size_t>> ready(slots);  // per slot: the block it holds + 1, 0 none yet
    std::atomic<size_t> written{0}, lanes{0};
    auto lane = [&](size_t first) {
        lanes.wait(0);
        const size_t step = lanes.load();
        for (size_t b = first; b < blocks; b += step) {
            const size_t slot = b % slots;
            for (size_t w = written.load(); w + slots <= b; w = written.load()) written.wait(w);
            used[slot] = formatBlock(&buffer[slot * blockBytes], b);
            ready[slot].store(b + 1);
            ready[slot].notify_one();
        }
    };
    std::vector<std::jthread> helpers;
    helpers.reserve(wanted);
    try {
        while (helpers.size() < wanted) helpers.emplace_back(lane, helpers.size());
    } catch (const std::exception&) {
        // No more threads to be had (system_error, bad_alloc): fewer then.
    }
    if (helpers.empty()) {  // not even one: format here
        for (size_t b = 0; b < blocks; ++b) write(&buffer[0], formatBlock(&buffer[0], b));
        return;
    }
    lanes.store(helpers.size());
    lanes.notify_all();
    for (size_t b = 0; b < blocks; ++b) {
        const size_t slot = b % slots;
        for (size_t r = ready[slot].load(); r != b + 1; r = ready[slot].load()) ready[slot].wait(r);
        write(&buffer[slot * blockBytes], used[slot]);
        written.store(b + 1);
        written.notify_all();
    }
}

}  // namespace vx
