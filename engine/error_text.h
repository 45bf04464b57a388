#pragma once
// The error text of a running statement: one fixed buffer into which a
// failing operation writes its message before returning the tag 0. The
// session uses 512 characters, the plot worker 256; longer messages are cut.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "engine/value.h"

namespace vx {

class ErrorText {
public:
    explicit ErrorText(size_t capacity = 512) : capacity_(capacity < 2 ? 2 : capacity) {}

    // Writes the message (overwriting the previous one) and returns kNone so
    // that a handler can `return error.fail(...)`.
    Tag fail(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        setv(format, args);
        va_end(args);
        return kNone;
    }
    void set(const std::string& text) { text_ = text.substr(0, capacity_ - 1); }
    // Built-ins whose answer is a text (polynomial factors, quotients) hand
    // it over here; such an answer is printed whole, whatever its length.
    Tag setAnswerText(std::string text) {
        text_ = std::move(text);
        return kNone;
    }
    const std::string& text() const { return text_; }
    size_t capacity() const { return capacity_; }

private:
    void setv(const char* format, va_list args) {
        std::string buffer(capacity_, '\0');
        int n = std::vsnprintf(buffer.data(), capacity_, format, args);
        if (n < 0) n = 0;
        buffer.resize(std::min<size_t>(static_cast<size_t>(n), capacity_ - 1));
        text_ = std::move(buffer);
    }

    size_t capacity_;
    std::string text_;
};

}  // namespace vx
