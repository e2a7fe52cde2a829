// MemoryFile.h: the fuzz input as a file with a name, for the targets whose entry point opens a
// file. It lives in memory (memfd), so a run touches no disk and leaves nothing behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace fuzz {

class MemoryFile {
public:
    MemoryFile() : fd_(memfd_create("orvek-fuzz-input", 0)) {
        if (fd_ < 0) std::abort();
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~MemoryFile() { close(fd_); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Replaces the contents; every open of path() then reads them from the start.
    const char* hold(const std::uint8_t* data, std::size_t size) {
        if (ftruncate(fd_, 0) != 0) std::abort();
        for (std::size_t done = 0; done < size;) {
            const ssize_t written = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (written <= 0) std::abort();
            done += static_cast<std::size_t>(written);
        }
        return path_.c_str();
    }

private:
    int fd_;
    std::string path_;
};

}  // namespace fuzz
