#pragma once
// The system calls a document's file goes through whose failure the editor must survive but
// no test can bring about for real: memory for a whole text, creating, writing and flushing
// the new file, replacing the old one with it, the moves that put a file back after a failed
// replace, deleting the old copy, and the block the editor control takes as its text; and the
// system's code page, which tests set to UTF-8. Tests put stand-ins here.
#include <windows.h>

#include <cstddef>

#include "platform/unique_resource.h"

// Memory for a whole text, or null when there is none; released with ::operator delete.
void* AllocateTextMemory(size_t size);

struct DocumentFileCalls {
    decltype(&AllocateTextMemory) Allocate = AllocateTextMemory;
    decltype(&CreateFileA) Create = CreateFileA;
    decltype(&WriteFile) Write = WriteFile;
    decltype(&FlushFileBuffers) Flush = FlushFileBuffers;
    decltype(&ReplaceFileA) Replace = ReplaceFileA; // not "ReplaceFile": a macro of that name
    decltype(&MoveFileExA) Move = MoveFileExA;
    decltype(&DeleteFileA) Delete = DeleteFileA;
    decltype(&LocalAlloc) AllocateEditorBuffer = LocalAlloc;
    decltype(&GetACP) SystemCodePage = GetACP;
};
extern DocumentFileCalls FileCalls;

// Memory from FileCalls.Allocate.
struct TextMemoryTraits {
    using Handle = void*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle memory) { ::operator delete(memory); }
};
using TextMemory = UniqueResource<TextMemoryTraits>;

// A block of the kind the editor control keeps its text in.
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle block) { LocalFree(block); }
};
using LocalMemory = UniqueResource<LocalMemoryTraits>;

// Memory for `characters` characters of the editor's text and a closing NUL; empty when
// there is none, or when so many could not even be counted in bytes.
TextMemory AllocateWideText(size_t characters);
