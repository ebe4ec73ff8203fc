#include "document/file_calls.h"

#include <cstdint>
#include <new>

DocumentFileCalls FileCalls;

void* AllocateTextMemory(size_t size) {
    return ::operator new(size, std::nothrow);
}

TextMemory AllocateWideText(size_t characters) {
    if (characters >= SIZE_MAX / sizeof(wchar_t))
        return TextMemory();
    return TextMemory(FileCalls.Allocate((characters + 1) * sizeof(wchar_t)));
}
