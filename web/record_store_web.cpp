// The record files in the browser: the exact bytes of each file, in base64,
// under keyhaven/Rank.dat and keyhaven/Best.dat in the page's local storage.
// Storage that the browser blocks, and a stored text that is not base64,
// count as a file that is there but cannot be read; a full storage refuses
// the new bytes and keeps the old ones. Once a record is stored, the page
// asks the browser to keep the site's storage rather than clear it when
// space runs short.
#include <emscripten.h>

#include <cstdlib>
#include <string>

#include "records/record_store.h"

namespace {

// Returns the length of the bytes, which it leaves in memory of the module's
// own at *bytes for the caller to free; -1 when there is no such record, -2
// when it cannot be read or is longer than maxBytes.
EM_JS(int, JsReadStored, (const char* key, int maxBytes, unsigned char** bytes), {
    let binary;
    try {
        const text = localStorage.getItem(UTF8ToString(key));
        if (text === null)
            return -1;
        binary = atob(text);
    } catch (error) {
        return -2;
    }
    if (binary.length > maxBytes)
        return -2;
    const copy = _malloc(binary.length + 1);
    for (let i = 0; i < binary.length; ++i)
        HEAPU8[copy + i] = binary.charCodeAt(i);
    HEAP32[bytes >> 2] = copy;
    return binary.length;
});

// Returns 0 when stored, 1 when the site's storage is full (a QuotaExceededError;
// older Firefox names it NS_ERROR_DOM_QUOTA_REACHED), 2 when storage is
// blocked for the site (a SecurityError), 3 for anything else.
EM_JS(int, JsStore, (const char* key, const unsigned char* bytes, int length), {
    let binary = "";
    for (let i = 0; i < length; ++i)
        binary += String.fromCharCode(HEAPU8[bytes + i]);
    try {
        localStorage.setItem(UTF8ToString(key), btoa(binary));
    } catch (error) {
        const name = error && error.name;
        if (name === "QuotaExceededError" || name === "NS_ERROR_DOM_QUOTA_REACHED")
            return 1;
        return name === "SecurityError" ? 2 : 3;
    }
    if (!Module.persistenceAsked) {
        Module.persistenceAsked = true;
        const storage = globalThis.navigator && navigator.storage;
        if (storage && storage.persist)
            storage.persist();
    }
    return 0;
});

std::string StorageKey(RecordFile file) { return std::string("keyhaven/") + RecordFileName(file); }

}  // namespace

ReadResult ReadRecordFile(RecordFile file, std::vector<unsigned char>& bytes, std::size_t maxBytes)
{
    bytes.clear();
    unsigned char* stored = nullptr;
    const int length = JsReadStored(StorageKey(file).c_str(), static_cast<int>(maxBytes), &stored);
    if (length < 0)
        return length == -1 ? ReadResult::Missing : ReadResult::Unreadable;
    bytes.assign(stored, stored + length);
    std::free(stored);
    return ReadResult::Read;
}

ReplaceResult ReplaceRecordFile(RecordFile file, const std::vector<unsigned char>& bytes)
{
    switch (JsStore(StorageKey(file).c_str(), bytes.data(), static_cast<int>(bytes.size()))) {
    case 0: return ReplaceResult::Replaced;
    case 1: return ReplaceResult::NoRoom;
    case 2: return ReplaceResult::NotPermitted;
    default: return ReplaceResult::Failed;
    }
}
