#pragma once
// Owners of the kernel handles a call opens: a file (invalid as INVALID_HANDLE_VALUE)
// and any other handle, such as a process (invalid as a null handle).
#include <windows.h>

#include "platform/unique_resource.h"

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle file) { CloseHandle(file); }
};
using UniqueFile = UniqueResource<FileHandleTraits>;

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;
