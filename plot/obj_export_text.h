#pragma once
// The text of an OBJ file. Records are formatted straight into large
// blocks, on several threads for large meshes, and the blocks are written
// in order: one formatted call per number made writing the file slower
// than computing the mesh.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The longest text writeFixed6 makes (the largest float has 39 digits).
inline constexpr size_t kMaxFixed6 = 48;

// Writes what printf's "%f" gives for the float widened to double; returns
// the end of the text.
char* writeFixed6(char* out, float value);
// Writes the integer in decimal; returns the end of the text.
char* writeInteger(char* out, long long n);

// Collects the file's parts in order, then writes them all in one go.
class ObjTextWriter {
public:
    // threads: how many may format records at once.
    explicit ObjTextWriter(int threads) : threads_(threads < 1 ? 1 : threads) {}

    void text(std::string_view s);
    // Records 0 .. count-1: format(out, k) writes record k (at most
    // maxLength characters) at out and returns the end. Called from
    // writeTo, so whatever it refers to must live until then.
    using RecordFormat = std::function<char*(char* out, size_t record)>;
    void records(size_t count, size_t maxLength, RecordFormat format);

    // Creates or empties the file and writes every part; false when it
    // could not be opened or a write failed.
    bool writeTo(const std::string& path) const;

private:
    struct Part {
        std::string text;  // text parts
        size_t count = 0, maxLength = 0;
        RecordFormat format;  // record parts
    };
    // A stretch of one part small enough for one buffer.
    struct Block {
        const Part* part;
        size_t first, end;
    };
    std::vector<Block> blocks(size_t& blockBytes) const;

    int threads_;
    std::vector<Part> parts_;
};

}  // namespace vx
