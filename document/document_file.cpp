#include "document/document_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

#include "document/document_layout.h"
#include "document/error_box.h"
#include "document/error_report.h"
#include "platform/file_handle.h"

namespace {

// The new content's file beside the target, deleted when it goes out of scope unless it
// has become the target by then.
struct TemporaryFileTraits {
    using Handle = std::string;
    static Handle Invalid() { return {}; }
    static void Close(const Handle& path) { DeleteFileA(path.c_str()); }
};
using TemporaryFile = UniqueResource<TemporaryFileTraits>;

// The largest file whose text length (with its NUL) fits a signed 32-bit count, as the
// editor control's text must. Larger files, and files there is no memory for, fail
// with the system's "not enough memory".
constexpr LONGLONG kLargestDocumentFile = 0x7FFFFFFE;

// A failure with error number `number`, at the code address in the routine that calls
// this and the return addresses of its callers.
NOT_INLINED FileError Failure(int number) {
    return {number, CaptureCodeAddresses(1)};
}

int LastErrorNumber() {
    return ErrorNumberForSystemCode(GetLastError());
}

// The bytes of the editor's text in the layout of `type`, fetched straight into the
// buffer that is written, so a large document is copied once.
struct DocumentBytes {
    std::unique_ptr<char[]> buffer;
    const char* data = nullptr;
    size_t size = 0;
};

std::optional<FileError> FetchDocumentBytes(HWND editor, FileType type, DocumentBytes& bytes) {
    const int length = GetWindowTextLengthA(editor);
    const std::string_view header = DocumentFrame(type, 1).header;
    // Room for the header, the text and the NUL GetWindowTextA ends it with, which is
    // the level description's terminator.
    bytes.buffer.reset(new (std::nothrow) char[header.size() + static_cast<size_t>(length) + 1]);
    if (!bytes.buffer)
        return Failure(ERROR_NOT_ENOUGH_MEMORY);
    char* text = bytes.buffer.get() + header.size();
    const size_t got = static_cast<size_t>(GetWindowTextA(editor, text, length + 1));
    const LayoutFrame frame = DocumentFrame(type, got);
    std::copy(frame.header.begin(), frame.header.end(), bytes.buffer.get());
    bytes.data = text - frame.header.size();
    bytes.size = frame.header.size() + got + frame.terminatorSize;
    return std::nullopt;
}

// `path` made absolute; a path the system cannot complete stays as it is, and the file
// functions report what is wrong with it.
std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = "";
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length == 0 || length >= sizeof full ? path : std::string(full, length);
}

std::string FolderOf(const std::string& fullPath) {
    return fullPath.substr(0, fullPath.rfind('\\') + 1);
}

// Whether an existing target may be replaced; `exists` tells whether there is one.
// Windows refuses to replace a read-only file, but not every system that runs the
// editor does, and one running as the machine's administrator ignores the attribute
// altogether: the check is the editor's own. A file another program holds open without
// sharing refuses an open for writing with a sharing violation: access denied (5).
std::optional<FileError> CheckTarget(const std::string& target, bool& exists) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        return Failure(ErrorNumberForSystemCode(code));
    }
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return Failure(ERROR_ACCESS_DENIED);
    UniqueFile probe(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe)
        return Failure(LastErrorNumber());
    return std::nullopt;
}

// Creates a file of a new name in `folder` for the content that will replace the target.
// The name, "~" with five hexadecimal digits and ".tmp", is no longer than ten
// characters: a folder holds at most 248, so beside any target the file dialog can
// name (259 characters at most) it stays within the length the file functions take.
std::optional<FileError> CreateTemporaryFile(const std::string& folder, TemporaryFile& temporary,
                                             UniqueFile& file) {
    const DWORD seed = GetCurrentProcessId() * 7919 + GetTickCount();
    for (DWORD attempt = 0; attempt < 100; ++attempt) {
        char name[16];
        std::snprintf(name, sizeof name, "~%05lX.tmp",
                      static_cast<unsigned long>((seed + attempt) & 0xFFFFF));
        const std::string path = folder + name;
        file.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            temporary.Reset(path);
            return std::nullopt;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    return Failure(LastErrorNumber());
}

std::optional<FileError> WriteAll(const UniqueFile& file, const DocumentBytes& bytes) {
    DWORD written = 0;
    if (bytes.size > 0 &&
        !WriteFile(file.Get(), bytes.data, static_cast<DWORD>(bytes.size), &written, nullptr))
        return Failure(LastErrorNumber());
    if (written != bytes.size)
        return Failure(kShortWriteError);
    if (!FlushFileBuffers(file.Get()))
        return Failure(LastErrorNumber());
    return std::nullopt;
}

// Puts the written temporary file in the target's place.
std::optional<FileError> ReplaceTarget(const std::string& target, TemporaryFile& temporary,
                                       bool exists) {
    // Replacing keeps the target's attributes and security; a target that has gone in
    // the meantime is simply created.
    if (exists && ReplaceFileA(target.c_str(), temporary.Get().c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        temporary.Release();
        return std::nullopt;
    }
    if (exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return Failure(LastErrorNumber());
    if (!MoveFileExA(temporary.Get().c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Failure(LastErrorNumber());
    temporary.Release();
    return std::nullopt;
}

} // namespace

std::optional<FileError> WriteDocumentFile(const std::string& path, FileType type, HWND editor) {
    DocumentBytes bytes;
    if (auto error = FetchDocumentBytes(editor, type, bytes))
        return error;
    const std::string target = FullPath(path);
    bool exists = false;
    if (auto error = CheckTarget(target, exists))
        return error;

    TemporaryFile temporary;
    {
        UniqueFile file;
        if (auto error = CreateTemporaryFile(FolderOf(target), temporary, file))
            return error;
        if (auto error = WriteAll(file, bytes))
            return error;
    } // closed before it replaces the target
    return ReplaceTarget(target, temporary, exists);
}

std::optional<FileError> ReadDocumentFile(const std::string& path, FileType type,
                                          std::string& text) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return Failure(LastErrorNumber());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return Failure(LastErrorNumber());
    if (size.QuadPart > kLargestDocumentFile)
        return Failure(ERROR_NOT_ENOUGH_MEMORY);
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[length + 1]);
    if (!bytes)
        return Failure(ERROR_NOT_ENOUGH_MEMORY);

    DWORD read = 0;
    if (length > 0 && !ReadFile(file.Get(), bytes.get(), length, &read, nullptr))
        return Failure(LastErrorNumber());
    if (read != length)
        return Failure(kShortReadError);

    DecodedDocument decoded = DecodeDocument(std::string_view(bytes.get(), length), type);
    if (decoded.errorNumber != 0)
        return Failure(decoded.errorNumber);
    text = std::move(decoded.text);
    return std::nullopt;
}
