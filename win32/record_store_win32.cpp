// The record files on Windows: read whole, replaced by MoveFileExA.
#include <windows.h>

#include <algorithm>
#include <string>

#include "records/record_store.h"

namespace {

// Rank.dat is hidden; both carry the reserved bit 0x40 the game always used.
DWORD FileAttributes(RecordFile file)
{
    return file == RecordFile::History ? 0x42 : 0x40;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() { if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return handle_; }
    // Closes now, for the caller to hear whether the last writes made it.
    bool close()
    {
        HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

bool WriteAll(HANDLE handle, const unsigned char* bytes, std::size_t size)
{
    while (size > 0) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
        DWORD written = 0;
        if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

// Why Windows did not let `name` be replaced, as the game tells the player.
// Windows answers a move over a file that another program holds open with a
// sharing violation, Wine with access denied: opening the file for deletion,
// as the move must, tells the two apart.
ReplaceResult ReasonOf(const char* name, DWORD error)
{
    if (error == ERROR_ACCESS_DENIED) {
        HANDLE probe = CreateFileA(name, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (probe != INVALID_HANDLE_VALUE)
            CloseHandle(probe);
        else if (GetLastError() == ERROR_SHARING_VIOLATION)
            return ReplaceResult::InUse;
    }
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return ReplaceResult::InUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return ReplaceResult::NotPermitted;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ReplaceResult::NoRoom;
    default:
        return ReplaceResult::Failed;
    }
}

bool WriteNewFile(const char* name, DWORD attributes, const std::vector<unsigned char>& bytes)
{
    // Read and write access and no sharing while it is written.
    FileHandle file(CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    return file.get() != INVALID_HANDLE_VALUE && WriteAll(file.get(), bytes.data(), bytes.size()) &&
           FlushFileBuffers(file.get()) && file.close();
}

} // namespace

ReadResult ReadRecordFile(RecordFile file, std::vector<unsigned char>& bytes, std::size_t maxBytes)
{
    bytes.clear();
    FileHandle handle(CreateFileA(RecordFileName(file), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                               : ReadResult::Unreadable;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle.get(), &size) || static_cast<uint64_t>(size.QuadPart) > maxBytes)
        return ReadResult::Unreadable;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, MAXDWORD));
        DWORD read = 0;
        if (!ReadFile(handle.get(), bytes.data() + got, chunk, &read, nullptr)) {
            bytes.clear();
            return ReadResult::Unreadable;
        }
        if (read == 0)
            break;  // the file shrank meanwhile
        got += read;
    }
    bytes.resize(got);
    return ReadResult::Read;
}

ReplaceResult ReplaceRecordFile(RecordFile file, const std::vector<unsigned char>& bytes)
{
    const char* name = RecordFileName(file);
    // Windows refuses to move a file over a read-only one, but Wine does not:
    // ask first, so the player's read-only file stays as it is everywhere.
    const DWORD existing = GetFileAttributesA(name);
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY))
        return ReplaceResult::NotPermitted;
    std::string temporary = std::string(name) + ".new";
    // The moved file keeps the temporary's attributes: Rank.dat stays hidden.
    if (!WriteNewFile(temporary.c_str(), FileAttributes(file), bytes) ||
        !MoveFileExA(temporary.c_str(), name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileA(temporary.c_str());
        return ReasonOf(name, error);
    }
    return ReplaceResult::Replaced;
}
