#include "cli/input_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vx {

int readDescriptor(int fd, std::string& text) {
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) return 0;
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
}

int readNamedFile(const std::string& path, std::string& text) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = readDescriptor(fd, text);
    close(fd);
    return error;
}

}  // namespace vx
