#include "plot/obj_export_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "plot/thread_pool.h"

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

void ObjTextWriter::text(std::string_view s) { parts_.push_back(Part{std::string(s), 0, 0, nullptr}); }

void ObjTextWriter::records(size_t count, size_t maxLength, RecordFormat format) {
    if (count > 0) parts_.push_back(Part{{}, count, std::max<size_t>(maxLength, 1), std::move(format)});
}

std::vector<ObjTextWriter::Block> ObjTextWriter::blocks(size_t& blockBytes) const {
    // Blocks of about two megabytes, in reused buffers: fresh memory for
    // every block would cost more page faults than the formatting itself.
    constexpr size_t kBlockBytes = size_t(2) << 20;
    std::vector<Block> list;
    blockBytes = 1;
    for (const Part& part : parts_) {
        if (!part.format) {
            list.push_back(Block{&part, 0, 0});
            blockBytes = std::max(blockBytes, part.text.size());
            continue;
        }
        const size_t perBlock = std::max<size_t>(1, kBlockBytes / part.maxLength);
        for (size_t first = 0; first < part.count; first += perBlock)
            list.push_back(Block{&part, first, std::min(part.count, first + perBlock)});
        blockBytes = std::max(blockBytes, std::min(perBlock, part.count) * part.maxLength);
    }
    return list;
}

namespace {

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Blocks formatted by several threads into a ring of buffers. Whichever
// thread finishes the block that comes next in the file writes it, and the
// finished ones after it, so no thread only waits for the others. A block
// waits for its buffer until the block a whole ring before it is written.
template <typename Block, typename Format>
class OrderedBlocks {
public:
    OrderedBlocks(const std::vector<Block>& blocks, size_t slots, size_t slotBytes, const Format& format)
        : blocks_(blocks),
          slots_(slots),
          slotBytes_(slotBytes),
          format_(format),
          buffer_(std::make_unique_for_overwrite<char[]>(slots * slotBytes)),
          used_(slots),
          holds_(slots) {}

    // Hands over the file (-1: it could not be opened). Until then no
    // block is written; the formatting goes on meanwhile.
    void opened(int fd) {
        std::unique_lock lock(mutex_);
        fd_ = fd;
        failed_ = fd < 0;
        writeFinished(lock);
    }

    // Takes blocks in turn, formats them and writes what is due.
    void formatBlocks() {
        for (size_t b = next_.fetch_add(1); b < blocks_.size(); b = next_.fetch_add(1)) {
            const size_t slot = b % slots_;
            {
                std::unique_lock lock(mutex_);
                slotFree_.wait(lock, [&] { return failed_ || written_ + slots_ > b; });
                if (failed_) return;
            }
            const size_t size = format_(blocks_[b], &buffer_[slot * slotBytes_]);
            std::unique_lock lock(mutex_);
            used_[slot] = size;
            holds_[slot] = b + 1;
            if (!writing_) {
                writing_ = true;
                writeFinished(lock);
            }
        }
    }

    bool complete() {
        std::lock_guard lock(mutex_);
        return !failed_ && written_ == blocks_.size();
    }

private:
    // Called holding the writer's role: writes the finished blocks that
    // are next in order, then gives the role up.
    void writeFinished(std::unique_lock<std::mutex>& lock) {
        for (size_t slot = written_ % slots_; !failed_ && holds_[slot] == written_ + 1; slot = written_ % slots_) {
            lock.unlock();
            const bool ok = writeAll(fd_, &buffer_[slot * slotBytes_], used_[slot]);
            lock.lock();
            holds_[slot] = 0;
            failed_ = !ok;
            ++written_;
            slotFree_.notify_all();
        }
        writing_ = false;
        if (failed_) slotFree_.notify_all();
    }

    const std::vector<Block>& blocks_;
    const size_t slots_, slotBytes_;
    const Format& format_;
    std::unique_ptr<char[]> buffer_;
    std::vector<size_t> used_;   // per slot: the length of its block's text
    std::vector<size_t> holds_;  // per slot: its block + 1 while finished and not yet written, else 0
    std::atomic<size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable slotFree_;
    size_t written_ = 0;  // blocks written so far
    bool writing_ = true;  // some thread writes; the opener holds the role first
    bool failed_ = false;
    int fd_ = -1;
};

}  // namespace

bool ObjTextWriter::writeTo(const std::string& path) const {
    size_t blockBytes = 0;
    const std::vector<Block> list = blocks(blockBytes);
    auto format = [](const Block& block, char* out) -> size_t {
        const Part& part = *block.part;
        if (!part.format) return static_cast<size_t>(std::copy(part.text.begin(), part.text.end(), out) - out);
        char* start = out;
        for (size_t k = block.first; k < block.end; ++k) out = part.format(out, k);
        return static_cast<size_t>(out - start);
    };
    const int helpers = static_cast<int>(std::min(static_cast<size_t>(threads_), list.size())) - 1;
    // Emptying a large file that is being replaced takes the system a while
    // (it may wait for the disk): the other threads format the first blocks
    // meanwhile, into a ring with a few buffers more than two per thread.
    // Blocks are sized for their longest records, so the part of each
    // buffer that is actually touched is much smaller.
    const size_t slots = helpers > 0 ? 2 * (static_cast<size_t>(helpers) + 1) + 4 : 1;
    OrderedBlocks pipeline(list, slots, blockBytes, format);
    HelperThreads others(helpers, [&pipeline] { pipeline.formatBlocks(); });
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    pipeline.opened(fd);
    pipeline.formatBlocks();
    others.wait();
    if (fd < 0) return false;
    const bool complete = pipeline.complete();
    return ::close(fd) == 0 && complete;
}

}  // namespace vx
