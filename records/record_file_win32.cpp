// The record files on Windows: read whole, replaced by MoveFileExA.
#define NOMINMAX  // keep std::min usable
#include <windows.h>

#include <algorithm>
#include <string>

#include "app/platform.h"

namespace {

const char* FileName(RecordFile file)
{
    return file == RecordFile::History ? "Rank.dat" : "Best.dat";
}

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

// Read and write access and no sharing, as the game has always opened them.
HANDLE OpenRecordFile(const char* name, DWORD disposition, DWORD attributes)
{
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, attributes, nullptr);
}

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

bool WriteNewFile(const char* name, DWORD attributes, const std::vector<unsigned char>& bytes)
{
    FileHandle file(OpenRecordFile(name, CREATE_ALWAYS, attributes));
    return file.get() != INVALID_HANDLE_VALUE && WriteAll(file.get(), bytes.data(), bytes.size()) &&
           FlushFileBuffers(file.get()) && file.close();
}

} // namespace

bool ReadRecordFile(RecordFile file, std::vector<unsigned char>& bytes, std::size_t maxBytes)
{
    bytes.clear();
    FileHandle handle(OpenRecordFile(FileName(file), OPEN_EXISTING, FileAttributes(file)));
    if (handle.get() == INVALID_HANDLE_VALUE)
        return false;
    bytes.resize(maxBytes);
    std::size_t size = 0;
    while (size < maxBytes) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(maxBytes - size, MAXDWORD));
        DWORD got = 0;
        if (!ReadFile(handle.get(), bytes.data() + size, chunk, &got, nullptr) || got == 0)
            break;
        size += got;
    }
    bytes.resize(size);
    return true;
}

bool ReplaceRecordFile(RecordFile file, const std::vector<unsigned char>& bytes)
{
    const char* name = FileName(file);
    std::string temporary = std::string(name) + ".new";
    // The moved file keeps the temporary's attributes: Rank.dat stays hidden.
    if (!WriteNewFile(temporary.c_str(), FileAttributes(file), bytes) ||
        !MoveFileExA(temporary.c_str(), name, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}
