// The record files on a POSIX system: read whole, replaced by rename.
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/platform.h"

namespace {

const char* FileName(RecordFile file)
{
    return file == RecordFile::History ? "Rank.dat" : "Best.dat";
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { if (fd_ >= 0) ::close(fd_); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, for the caller to hear whether the last writes made it.
    bool close()
    {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, const unsigned char* bytes, std::size_t size)
{
    while (size > 0) {
        ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool WriteNewFile(const char* name, const std::vector<unsigned char>& bytes)
{
    FileDescriptor file(::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    return file.get() >= 0 && WriteAll(file.get(), bytes.data(), bytes.size()) &&
           ::fsync(file.get()) == 0 && file.close();
}

} // namespace

bool ReadRecordFile(RecordFile file, std::vector<unsigned char>& bytes, std::size_t maxBytes)
{
    bytes.clear();
    // Opened for writing too: a file the game could not save counts as missing.
    FileDescriptor fd(::open(FileName(file), O_RDWR | O_CLOEXEC));
    if (fd.get() < 0)
        return false;
    bytes.resize(maxBytes);
    std::size_t size = 0;
    while (size < maxBytes) {
        ssize_t got = ::read(fd.get(), bytes.data() + size, maxBytes - size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        size += static_cast<std::size_t>(got);
    }
    bytes.resize(size);
    return true;
}

bool ReplaceRecordFile(RecordFile file, const std::vector<unsigned char>& bytes)
{
    const char* name = FileName(file);
    // A file the game may not write stays as it is, as it would on Windows.
    if (::access(name, F_OK) == 0 && ::access(name, W_OK) != 0)
        return false;
    std::string temporary = std::string(name) + ".new";
    if (!WriteNewFile(temporary.c_str(), bytes) || ::rename(temporary.c_str(), name) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}
