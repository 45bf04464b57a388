#include "shell/batch_request.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "shell/binary_io.h"

namespace vx {

std::string encodeBatchRequest(std::string_view path) {
    ByteWriter out;
    out.i32(static_cast<std::int32_t>(path.size()));
    std::string bytes = out.take();
    bytes.append(path);
    return bytes;
}

RequestState decodeBatchRequest(std::string_view received, std::string& path) {
    ByteReader in(received);
    std::int32_t length = 0;
    if (!in.i32(length)) return RequestState::Incomplete;
    if (length < 0 || static_cast<size_t>(length) > kMaxBatchRequestPath) return RequestState::Invalid;
    if (received.size() - 4 < static_cast<size_t>(length)) return RequestState::Incomplete;
    if (received.size() - 4 > static_cast<size_t>(length)) return RequestState::Invalid;
    path.assign(received.substr(4));
    return RequestState::Complete;
}

bool isRunnableBatchPath(std::string_view path) {
    if (path.empty() || path.size() > kMaxBatchRequestPath) return false;
    if (path.find('\0') != std::string_view::npos) return false;
    std::filesystem::path p{std::string(path)};
    if (!p.is_absolute()) return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec)) return false;
    return ::access(p.c_str(), R_OK) == 0;
}

}  // namespace vx
