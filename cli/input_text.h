#pragma once
// Reading a whole file or standard input for one submission.
#include <string>

namespace vx {

// Reads all bytes of the open descriptor; 0 on success, else an errno value.
int readDescriptor(int fd, std::string& text);
// Reads the named file; 0 on success, else an errno value (a folder gives
// EISDIR).
int readNamedFile(const std::string& path, std::string& text);

}  // namespace vx
