#pragma once
// Reading and writing document files. A failure is returned with its error number and
// the code addresses where it happened, for the caller to report; nothing here shows
// a box.
#include <windows.h>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/document_layout.h"
#include "document/text_format.h"
#include "platform/unique_resource.h"

struct FileError {
    int Number = 0;                           // the error number the report shows
    std::vector<std::uint32_t> CodeAddresses; // the failing operation's first
    std::vector<std::string> Details;         // lines the report shows after the addresses
    unsigned long SystemCode = 0;             // the system's own code, or 0 for the editor's
};

// A failure with the editor's own error number `number` (100, 101 or 204) at the code
// address in the routine that calls this, and the return addresses of its callers.
FileError FileFailure(int number);

// The same for a failure the system reported with `code`.
FileError SystemFailure(unsigned long code);

// What a successful save leaves to say: the old copy of the file, when it could not be
// deleted after the new one took its name.
struct SavedFile {
    std::string Leftover;
};

// Memory from FileCalls.Allocate.
struct TextMemoryTraits {
    using Handle = void*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle memory) { ::operator delete(memory); }
};
using TextMemory = UniqueResource<TextMemoryTraits>;

// Memory for `characters` characters of the editor's text and a closing NUL; empty when
// there is none, or when so many could not even be counted in bytes.
TextMemory AllocateWideText(size_t characters);

// The bytes a save writes: the editor's text in a file's layout and encoding.
struct DocumentBytes {
    TextMemory Buffer;
    const char* Data = nullptr;
    size_t Size = 0;
    bool Lossy = false; // some character had no byte in the code page and became "?"
};

// Fetches the text of `editor` as the bytes of a file in the layout of `type` with the
// line ends and encoding of `format`. A level description is always of the code page.
std::optional<FileError> FetchDocumentBytes(HWND editor, FileType type, TextFormat format,
                                            DocumentBytes& bytes);

// Writes `bytes` to `path`. The bytes go to a new file beside the target, which replaces
// the target only once all of them are written, so a failure leaves an existing file
// exactly as it was and no new file behind. A read-only target, a folder, or a file
// another program holds open without sharing it fails with error 5. Should the replace itself fail
// halfway, the target is left holding its old bytes or, when those cannot be put back, the new
// ones: never neither; and when neither can take its name, the report says where both copies are.
std::optional<FileError> WriteDocumentFile(const std::string& path, const DocumentBytes& bytes,
                                           SavedFile& saved);

// What a load leaves unshown of its file.
struct LoadedFile {
    LoadLoss Loss = LoadLoss::None;
    size_t NulOffset = 0; // for a cut: where in the file the NUL stands
    TextFormat Format;    // how its text is encoded and its lines end
};

// Reads the file `path` in the layout of `type` and puts its text, decoded and with
// CR LF line ends, into `editor`. The file is opened for reading only and shared with
// other readers, so read-only files load too. A file there is no memory for, or whose
// text the control refuses, fails with error 8. On failure the editor still holds what
// it held and `loaded` is left alone.
std::optional<FileError> ReadDocumentFile(const std::string& path, FileType type, HWND editor,
                                          LoadedFile& loaded);

// Whether the names `one` and `other` reach the same file, however each is written:
// another drive letter for the same folder, a short name or a link. Decided by the
// volume and file index the system gives each; by the full names, ignoring case, when
// either cannot be opened.
bool IsSameFile(const std::string& one, const std::string& other);

// `path` made absolute against the current folder; a path the system cannot complete
// stays as it is, and the file functions report what is wrong with it.
std::string FullPathOf(const std::string& path);

// Whether a file or folder `path` exists.
bool PathExists(const std::string& path);

// Memory for a whole text, or null when there is none; released with ::operator delete.
void* AllocateTextMemory(size_t size);

// The system calls whose failure the editor must survive but no test can bring about for
// real: memory for a whole text, replacing a file with the one written beside it, the
// moves that put a file back after a failed replace, deleting the old copy, and handing
// the editor a loaded text. Tests put failing stand-ins here.
struct DocumentFileCalls {
    decltype(&AllocateTextMemory) Allocate = AllocateTextMemory;
    decltype(&ReplaceFileA) Replace = ReplaceFileA; // not "ReplaceFile": a macro of that name
    decltype(&MoveFileExA) Move = MoveFileExA;
    decltype(&DeleteFileA) Delete = DeleteFileA;
    decltype(&SetWindowTextW) SetEditorText = SetWindowTextW;
};
extern DocumentFileCalls FileCalls;
