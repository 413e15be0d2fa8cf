// Where Rank.dat and Best.dat are kept: the one way the records code reaches
// the disk. Each file is read whole and replaced whole, within one call; no
// file stays open between calls. Windows has its own version
// (win32/record_store_win32.cpp) and so has the page, in its local storage
// (web/record_store_web.cpp); the native unit tests use a POSIX one
// (tests/record_store_posix.cpp) and the fuzzers one in memory.
#pragma once

#include <cstddef>
#include <vector>

enum class RecordFile { History, Best };

// The one place the two file names are spelled.
constexpr const char* RecordFileName(RecordFile file)
{
    return file == RecordFile::History ? "Rank.dat" : "Best.dat";
}

// What reading a record file found.
enum class ReadResult {
    Read,        // the whole file is in `bytes`
    Missing,     // no such file (or no such folder): an empty record
    Unreadable,  // it is there but could not be read now: held open by
                 // another program, not permitted, a folder, or too large
};

// Reads the whole record file into `bytes` (empty unless Read). The file is
// opened for reading only and shared with every other opener, so another
// reader or the read-only attribute does not keep the game from it.
ReadResult ReadRecordFile(RecordFile file, std::vector<unsigned char>& bytes, std::size_t maxBytes);

// What replacing a record file came to: replaced, or why the bytes did not
// reach the disk. Each store maps its own errors onto these.
enum class ReplaceResult {
    Replaced,
    InUse,         // held open by another program
    NotPermitted,  // read-only, or writing there is not allowed
    NoRoom,        // the disk or the storage is full
    Failed,        // anything else
};

// Replaces the record file with `bytes` in one step: the new contents are
// written beside the old file and then moved over it, so a failed or cut-off
// save leaves the previous file whole. A read-only file is never replaced.
ReplaceResult ReplaceRecordFile(RecordFile file, const std::vector<unsigned char>& bytes);
