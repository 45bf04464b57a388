// The size argument of --export-png.
#include <gtest/gtest.h>

#include "cli/png_export.h"

namespace {

TEST(PngExportArgs, ImageSizeIsWidthXHeightWithinLimits) {
    struct Case {
        const char* text;
        bool ok;
        int width, height;
    } cases[] = {
        {"640x480", true, 640, 480}, {"1x1", true, 1, 1},      {"16384x2", true, 16384, 2},
        {"16385x2", false, 0, 0},    {"0x10", false, 0, 0},    {"10x", false, 0, 0},
        {"x10", false, 0, 0},        {"10X10", false, 0, 0},   {"-5x10", false, 0, 0},
        {"10x10x10", false, 0, 0},   {"out.png", false, 0, 0}, {"", false, 0, 0},
        {"999999x5", false, 0, 0},
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        EXPECT_EQ(vx::parseImageSize(c.text, w, h), c.ok) << c.text;
        EXPECT_EQ(w, c.width) << c.text;
        EXPECT_EQ(h, c.height) << c.text;
    }
}

}  // namespace
