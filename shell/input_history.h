#pragma once
// The submissions the user made, oldest first, for Ctrl+Up and Ctrl+Down in
// the input pane. A submission made again moves to the end instead of being
// kept twice. Stored as text, one submission a line, with backslash,
// carriage return and line feed escaped as \\, \r and \n.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

constexpr size_t kInputHistoryEntries = 1000;
constexpr const char* kInputHistoryFile = "input_history.txt";

class InputHistory {
public:
    // Keeps a submission (blank ones are not kept) and ends any browsing.
    void add(std::string submission);
    const std::vector<std::string>& entries() const { return entries_; }

    // Browsing: the first step back remembers `current`, the text being
    // edited, which a step forward past the newest entry gives back.
    // Nothing when there is no entry further in that direction.
    std::optional<std::string> previous(const std::string& current);
    std::optional<std::string> next();

    std::string serialize() const;
    static InputHistory parse(std::string_view text);

private:
    std::vector<std::string> entries_;
    size_t position_ = 0;  // entries_.size() while not browsing
    std::string draft_;
};

}  // namespace vx
