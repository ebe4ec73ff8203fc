#pragma once
// The editor's registry access. Keys are opened, never created; reads are sized to
// the caller's buffer, and a read that fails for any reason gives an empty text.
#include <windows.h>
#include <string>
#include <string_view>
#include "platform/unique_resource.h"

struct RegistryKeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle key) { RegCloseKey(key); }
};

// An open registry key, closed when it goes out of scope. Holds nothing when the
// open failed, and every read on it then comes back empty.
class RegistryKey : public UniqueResource<RegistryKeyTraits> {
  public:
    RegistryKey(HKEY root, const char* path, REGSAM access);
};

struct RegistryText {
    LONG Result = ERROR_INVALID_HANDLE; // what RegQueryValueExA answered
    std::string Text;                   // empty unless Result is ERROR_SUCCESS
};

// Reads value `name` into a buffer of `capacity` bytes. The bytes returned end the
// text (a stored NUL ends it earlier); a value larger than the buffer reads as empty.
RegistryText ReadRegistryText(const RegistryKey& key, const char* name, DWORD capacity);

// Writes `text` as REG_SZ with a byte count of its length, without the NUL.
// Does nothing on a key that did not open.
void WriteRegistryText(const RegistryKey& key, const char* name, std::string_view text);
