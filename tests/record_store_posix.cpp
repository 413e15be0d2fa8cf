// The record files on a POSIX system, for the native unit tests: read whole,
// replaced by rename.
#include <cerrno>
#include <cstdint>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "records/record_store.h"

namespace {

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

ReadResult ReadRecordFile(RecordFile file, std::vector<unsigned char>& bytes, std::size_t maxBytes)
{
    bytes.clear();
    FileDescriptor fd(::open(RecordFileName(file), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadResult::Missing : ReadResult::Unreadable;
    struct stat status{};
    if (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        static_cast<uint64_t>(status.st_size) > maxBytes)
        return ReadResult::Unreadable;
    bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t got = 0;
    while (got < bytes.size()) {
        ssize_t read = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0) {
            bytes.clear();
            return ReadResult::Unreadable;
        }
        if (read == 0)
            break;  // the file shrank meanwhile
        got += static_cast<std::size_t>(read);
    }
    bytes.resize(got);
    return ReadResult::Read;
}

ReplaceResult ReplaceRecordFile(RecordFile file, const std::vector<unsigned char>& bytes)
{
    const char* name = RecordFileName(file);
    // A file without write permission counts as read-only, as Windows' attribute
    // does, for root as well: the player's read-only file stays as it is.
    struct stat status{};
    if (::stat(name, &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return ReplaceResult::NotPermitted;
    std::string temporary = std::string(name) + ".new";
    if (!WriteNewFile(temporary.c_str(), bytes) || ::rename(temporary.c_str(), name) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        switch (error) {
        case EACCES: case EPERM: case EROFS: return ReplaceResult::NotPermitted;
        case ENOSPC: case EDQUOT: return ReplaceResult::NoRoom;
        default: return ReplaceResult::Failed;
        }
    }
    return ReplaceResult::Replaced;
}
