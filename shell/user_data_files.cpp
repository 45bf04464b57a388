#include "shell/user_data_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>
#include <utility>

namespace vx {

std::filesystem::path optionsFilePath(const std::filesystem::path& folder) { return folder / "vxopts.vxd"; }
std::filesystem::path dataFilePath(const std::filesystem::path& folder) { return folder / "vxdata.vxd"; }

bool readWholeFile(const std::filesystem::path& path, std::string& out) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    out = buffer.str();
    return true;
}

namespace {

std::string systemError(const std::string& what, const std::filesystem::path& path) {
    return what + " '" + path.string() + "': " + std::strerror(errno);
}

// A file descriptor closed on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

}  // namespace

std::string writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    std::string temp = path.string() + ".XXXXXX";
    Descriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0) return systemError("Cannot create", temp);
    auto discard = [&](const std::string& reason) {
        ::unlink(temp.c_str());
        return reason;
    };
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return discard(systemError("Cannot write", temp));
        written += static_cast<size_t>(n);
    }
    if (::fchmod(fd.get(), 0644) != 0 || ::fsync(fd.get()) != 0) return discard(systemError("Cannot write", temp));
    if (::close(fd.release()) != 0) return discard(systemError("Cannot write", temp));
    if (::rename(temp.c_str(), path.c_str()) != 0) return discard(systemError("Cannot replace", path));
    return {};
}

std::string saveUserDataFiles(const std::filesystem::path& folder, const Options& options, const Stores& stores) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return "Cannot create folder '" + folder.string() + "': " + ec.message();
    std::string error = writeFileAtomically(optionsFilePath(folder), encodeOptions(options));
    if (!error.empty()) return error;
    return writeFileAtomically(dataFilePath(folder), encodeUserData(stores));
}

UserDataLoad loadUserDataFiles(const std::filesystem::path& folder, Stores& stores,
                               const std::function<void(const std::string&)>& print) {
    UserDataLoad load;
    std::string bytes;
    if (readWholeFile(optionsFilePath(folder), bytes)) load.options = decodeOptions(bytes);
    if (readWholeFile(dataFilePath(folder), bytes)) {
        load.dataFound = true;
        load.data = loadUserData(bytes, stores, print);
    }
    return load;
}

}  // namespace vx
