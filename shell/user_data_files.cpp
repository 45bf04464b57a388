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

// A file written and synced under a temporary name beside its target; the
// temporary file is removed unless it has been renamed over the target.
class StagedFile {
public:
    StagedFile(const std::filesystem::path& target, const FileCalls& calls)
        : target_(target), temp_(target.string() + ".XXXXXX"), calls_(calls) {}
    ~StagedFile() {
        if (created_) ::unlink(temp_.c_str());
    }
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Empty on success, else what went wrong.
    std::string write(std::string_view bytes) {
        Descriptor fd(calls_.createTemp(temp_.data()));
        if (fd.get() < 0) return systemError("Cannot create", temp_);
        created_ = true;
        size_t written = 0;
        while (written < bytes.size()) {
            long n = calls_.write(fd.get(), bytes.data() + written, bytes.size() - written);
            if (n < 0 && errno == EINTR) continue;
            if (n == 0) errno = ENOSPC;
            if (n <= 0) return systemError("Cannot write", temp_);
            written += static_cast<size_t>(n);
        }
        if (::fchmod(fd.get(), 0644) != 0 || calls_.sync(fd.get()) != 0) return systemError("Cannot write", temp_);
        if (::close(fd.release()) != 0) return systemError("Cannot write", temp_);
        return {};
    }
    std::string replaceTarget() {
        if (calls_.rename(temp_.c_str(), target_.c_str()) != 0) return systemError("Cannot replace", target_);
        created_ = false;
        return {};
    }

private:
    std::filesystem::path target_;
    std::string temp_;
    const FileCalls& calls_;
    bool created_ = false;
};

// The renames reach the disk only with their folder; a file system that
// cannot sync folders still has the files' own contents synced.
void syncFolder(const std::filesystem::path& folder) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace

const FileCalls& systemFileCalls() {
    static const FileCalls calls{
        ::mkstemp,
        [](int fd, const void* data, size_t size) -> long { return ::write(fd, data, size); },
        ::fsync,
        ::rename,
    };
    return calls;
}

std::string writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, const FileCalls& calls) {
    StagedFile file(path, calls);
    std::string error = file.write(bytes);
    if (error.empty()) error = file.replaceTarget();
    if (error.empty()) syncFolder(path.parent_path().empty() ? "." : path.parent_path());
    return error;
}

UserDataBytes encodeUserDataFiles(const Options& options, const Stores& stores) {
    return UserDataBytes{encodeOptions(options), encodeUserData(stores)};
}

std::string saveUserDataFiles(const std::filesystem::path& folder, const Options& options, const Stores& stores,
                              const FileCalls& calls) {
    return saveUserDataFiles(folder, encodeUserDataFiles(options, stores), calls);
}

std::string saveUserDataFiles(const std::filesystem::path& folder, const UserDataBytes& bytes, const FileCalls& calls) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) return "Cannot create folder '" + folder.string() + "': " + ec.message();
    // A session that changed nothing leaves both files alone: a sync waits
    // for the disk, and for whatever else the system has yet to write there.
    auto holds = [](const std::filesystem::path& path, const std::string& wanted) {
        std::string current;
        return readWholeFile(path, current) && current == wanted;
    };
    if (holds(optionsFilePath(folder), bytes.options) && holds(dataFilePath(folder), bytes.data)) return {};
    StagedFile optionsFile(optionsFilePath(folder), calls), dataFile(dataFilePath(folder), calls);
    std::string error = optionsFile.write(bytes.options);
    if (error.empty()) error = dataFile.write(bytes.data);
    if (error.empty()) error = optionsFile.replaceTarget();
    if (error.empty()) error = dataFile.replaceTarget();
    syncFolder(folder);
    return error;
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
