#pragma once
// The text of an OBJ file. Records are formatted straight into large
// blocks, on several threads for large meshes, and the blocks are written
// in order: one formatted call per number made writing the file slower
// than computing the mesh.
#include <cstdio>
#include <functional>
#include <string_view>

namespace vx {

// The longest text writeFixed6 makes (the largest float has 39 digits).
inline constexpr size_t kMaxFixed6 = 48;

// Writes what printf's "%f" gives for the float widened to double; returns
// the end of the text.
char* writeFixed6(char* out, float value);
// Writes the integer in decimal; returns the end of the text.
char* writeInteger(char* out, long long n);

class ObjTextWriter {
public:
    // threads: how many may format records at once.
    ObjTextWriter(std::FILE* file, int threads) : file_(file), threads_(threads < 1 ? 1 : threads) {}

    void text(std::string_view s);
    // Writes records 0 .. count-1 in order: format(out, k) writes record k
    // (at most maxLength characters) at out and returns the end.
    using RecordFormat = std::function<char*(char* out, size_t record)>;
    void records(size_t count, size_t maxLength, const RecordFormat& format);
    // False when any write failed.
    bool finish() const { return !failed_; }

private:
    void write(const char* data, size_t size);

    std::FILE* file_;
    int threads_;
    bool failed_ = false;
};

}  // namespace vx
