#pragma once
// The message a second start of the program sends to the running one: the
// path of a file to run as a batch, behind its length. What arrives comes
// from another process and is checked before it is used.
#include <string>
#include <string_view>

namespace vx {

constexpr size_t kMaxBatchRequestPath = 4096;

// Four bytes of length (little-endian), then the path's bytes. An empty
// path only asks the running window to come to the front.
std::string encodeBatchRequest(std::string_view path);

enum class RequestState { Incomplete, Complete, Invalid };
// Reads a request from the bytes received so far.
RequestState decodeBatchRequest(std::string_view received, std::string& path);

// An absolute path without zero bytes that names a readable regular file.
bool isRunnableBatchPath(std::string_view path);

}  // namespace vx
