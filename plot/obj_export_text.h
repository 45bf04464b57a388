#pragma once
// The text of an OBJ file, built in a large buffer and written in big
// blocks: one formatted call per number made writing the file slower than
// computing the mesh.
#include <cstdio>
#include <string>
#include <string_view>

namespace vx {

// Appends the text printf's "%f" gives for the float widened to double.
void appendFixed6(std::string& out, float value);

class ObjTextWriter {
public:
    explicit ObjTextWriter(std::FILE* file) : file_(file) { text_.reserve(kBlock + kSlack); }

    void text(std::string_view s) {
        text_ += s;
        flushIfFull();
    }
    // " x y z" after `prefix`.
    void triple(std::string_view prefix, const float* xyz);
    // " n" for an integer.
    void integer(long long n);
    // Writes what is left; false when any write failed.
    bool finish();

private:
    static constexpr size_t kBlock = size_t(1) << 20;
    static constexpr size_t kSlack = 512;  // one record of the longest numbers
    void flushIfFull() {
        if (text_.size() >= kBlock) flush();
    }
    void flush();

    std::FILE* file_;
    std::string text_;
    bool failed_ = false;
};

}  // namespace vx
