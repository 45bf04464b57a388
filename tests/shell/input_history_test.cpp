// The input history: what is kept, in which order, and its file text.
#include <gtest/gtest.h>

#include "shell/input_history.h"

namespace vx {
namespace {

TEST(InputHistory, KeepsEachSubmissionOnceNewestLast) {
    struct Case {
        std::vector<std::string> added;
        std::vector<std::string> kept;
    } cases[] = {
        {{"1+1", "2", "1+1"}, {"2", "1+1"}},
        {{"", " \n\t", "x"}, {"x"}},
        {{"a\nb", "a\\b\r"}, {"a\nb", "a\\b\r"}},
    };
    for (const Case& c : cases) {
        InputHistory h;
        for (const std::string& s : c.added) h.add(s);
        EXPECT_EQ(h.entries(), c.kept);
        // The file text gives the same entries back.
        EXPECT_EQ(InputHistory::parse(h.serialize()).entries(), c.kept);
    }
    InputHistory full;
    for (size_t k = 0; k < kInputHistoryEntries + 5; ++k) full.add(std::to_string(k));
    ASSERT_EQ(full.entries().size(), kInputHistoryEntries);
    EXPECT_EQ(full.entries().front(), "5");
    EXPECT_EQ(full.serialize().substr(0, 6), "5\n6\n7\n");
}

TEST(InputHistory, BrowsingReturnsToTheDraft) {
    InputHistory h = InputHistory::parse("one\ntwo\n");
    EXPECT_EQ(h.next(), std::nullopt);
    EXPECT_EQ(h.previous("draft"), "two");
    EXPECT_EQ(h.previous("two"), "one");
    EXPECT_EQ(h.previous("one"), std::nullopt);
    EXPECT_EQ(h.next(), "two");
    EXPECT_EQ(h.next(), "draft");
    EXPECT_EQ(h.next(), std::nullopt);
}

}  // namespace
}  // namespace vx
