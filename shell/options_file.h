#pragma once
// The options file: the highlighting switch and both settings blocks, 120
// bytes without header, version or checksum.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plot/settings.h"

namespace vx {

constexpr size_t kOptionsFileSize = 120;

struct Options {
    std::int32_t syntaxHighlighting = 1;
    DisplaySettings display;
    QualitySettings quality;
};

std::string encodeOptions(const Options& options);
// Empty when the file is shorter than 120 bytes: a partial block is never
// applied. Bytes after the first 120 are ignored.
std::optional<Options> decodeOptions(std::string_view bytes);

}  // namespace vx
