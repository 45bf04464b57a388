#include "shell/input_history.h"

#include <algorithm>

namespace vx {

void InputHistory::add(std::string submission) {
    bool blank = submission.find_first_not_of(" \t\r\n") == std::string::npos;
    if (!blank) {
        std::erase(entries_, submission);
        entries_.push_back(std::move(submission));
        if (entries_.size() > kInputHistoryEntries)
            entries_.erase(entries_.begin(), entries_.end() - kInputHistoryEntries);
    }
    position_ = entries_.size();
    draft_.clear();
}

std::optional<std::string> InputHistory::previous(const std::string& current) {
    if (position_ == 0) return std::nullopt;
    if (position_ == entries_.size()) draft_ = current;
    return entries_[--position_];
}

std::optional<std::string> InputHistory::next() {
    if (position_ >= entries_.size()) return std::nullopt;
    ++position_;
    return position_ == entries_.size() ? draft_ : entries_[position_];
}

std::string InputHistory::serialize() const {
    std::string out;
    for (const std::string& entry : entries_) {
        for (char c : entry) {
            switch (c) {
                case '\\': out += "\\\\"; break;
                case '\n': out += "\\n"; break;
                case '\r': out += "\\r"; break;
                default: out += c;
            }
        }
        out += '\n';
    }
    return out;
}

InputHistory InputHistory::parse(std::string_view text) {
    InputHistory history;
    std::string entry;
    for (size_t p = 0; p < text.size(); ++p) {
        char c = text[p];
        if (c == '\n') {
            history.add(std::move(entry));
            entry.clear();
        } else if (c == '\\' && p + 1 < text.size()) {
            char escaped = text[++p];
            entry += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
        } else {
            entry += c;
        }
    }
    history.add(std::move(entry));
    return history;
}

}  // namespace vx
