#include "document/document_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <new>

#include "document/document_layout.h"
#include "document/error_box.h"
#include "document/error_report.h"
#include "document/path_text.h"
#include "platform/file_handle.h"

DocumentFileCalls FileCalls;

NOT_INLINED FileError FileFailure(int number) {
    return {number, CaptureCodeAddresses(1), {}, 0};
}

NOT_INLINED FileError SystemFailure(unsigned long code) {
    return {ErrorNumberForSystemCode(code), CaptureCodeAddresses(1), {}, code};
}

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

std::string FolderOf(const std::string& fullPath) {
    return fullPath.substr(0, fullPath.rfind('\\') + 1);
}

// Whether an existing target may be replaced; `exists` tells whether there is one.
// Windows refuses to replace a read-only file, but not every system that runs the
// editor does, and one running as the machine's administrator ignores the attribute
// altogether: the check is the editor's own. A file another program holds open without
// sharing it refuses the open below with a sharing violation: access denied (5). One
// held open by a program that shares it (an indexer, a viewer, the game) can be replaced.
std::optional<FileError> CheckTarget(const std::string& target, bool& exists) {
    const DWORD attributes = GetFileAttributesA(target.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        return SystemFailure(code);
    }
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
        return SystemFailure(ERROR_ACCESS_DENIED);
    UniqueFile probe(CreateFileA(target.c_str(), GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe)
        return SystemFailure(GetLastError());
    return std::nullopt;
}

// A name for a file beside the target: "~" with five hexadecimal digits and ".tmp", no
// longer than ten characters. A folder holds at most 248, so beside any target the file
// dialog can name (259 characters at most) it stays within what the file functions take.
std::string TemporaryName(const std::string& folder, DWORD attempt) {
    static const DWORD seed = GetCurrentProcessId() * 7919 + GetTickCount();
    char name[16];
    std::snprintf(name, sizeof name, "~%05lX.tmp",
                  static_cast<unsigned long>((seed + attempt) & 0xFFFFF));
    return folder + name;
}

constexpr DWORD kNameAttempts = 100;

// Creates a file of a new name in `folder` for the content that will replace the target.
std::optional<FileError> CreateTemporaryFile(const std::string& folder, TemporaryFile& temporary,
                                             UniqueFile& file) {
    static DWORD attempt = 0;
    for (DWORD tries = 0; tries < kNameAttempts; ++tries) {
        const std::string path = TemporaryName(folder, attempt++);
        file.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            temporary.Reset(path);
            return std::nullopt;
        }
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    return SystemFailure(GetLastError());
}

// A name in `folder` that no file has yet, for the old file while it is being replaced;
// empty in the unlikely case that none is found.
std::string UnusedName(const std::string& folder) {
    static DWORD attempt = 0x80000;
    for (DWORD tries = 0; tries < kNameAttempts; ++tries)
        if (std::string path = TemporaryName(folder, attempt++); !PathExists(path))
            return path;
    return {};
}

std::optional<FileError> WriteAll(const UniqueFile& file, const DocumentBytes& bytes) {
    DWORD written = 0;
    if (bytes.Size > 0 &&
        !WriteFile(file.Get(), bytes.Data, static_cast<DWORD>(bytes.Size), &written, nullptr))
        return SystemFailure(GetLastError());
    if (written != bytes.Size)
        return FileFailure(kShortWriteError);
    if (!FlushFileBuffers(file.Get()))
        return SystemFailure(GetLastError());
    return std::nullopt;
}

// After a failed replace the target must stand under its own name, holding its old
// bytes or else the new ones. Some failures come after the old file has been moved to
// the backup name: it goes back; failing that, the new file takes the name. What cannot
// be moved stays on disk, so no copy is ever deleted while the target is missing; when
// neither copy could take the name, the report of `error` says where both are.
void RestoreTarget(const std::string& target, TemporaryFile& backup, TemporaryFile& temporary,
                   FileError& error) {
    if (PathExists(target))
        return;
    if (backup && PathExists(backup.Get()) &&
        FileCalls.Move(backup.Get().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        backup.Release();
        return;
    }
    if (FileCalls.Move(temporary.Get().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        temporary.Release();
        return;
    }
    std::string folder = FolderOf(target);
    if (folder.size() > 3) // the root keeps its backslash
        folder.pop_back();
    error.Details.push_back(FileNamePart(target) + " is missing from the folder " + folder + ".");
    if (backup && PathExists(backup.Get()))
        error.Details.push_back("Its old content is in " + FileNamePart(backup.Get()) + ".");
    error.Details.push_back("Its new content is in " + FileNamePart(temporary.Get()) + ".");
    backup.Release();
    temporary.Release();
}

// Deletes the old copy of a replaced file; should that fail, tries once more, and
// otherwise leaves it where it is and names it in `saved`.
void DeleteOldCopy(TemporaryFile& backup, SavedFile& saved) {
    const std::string path = backup.Release();
    if (path.empty() || !PathExists(path))
        return;
    if (FileCalls.Delete(path.c_str()))
        return;
    Sleep(100); // a virus scanner or an indexer may be looking at it for a moment
    if (!FileCalls.Delete(path.c_str()))
        saved.Leftover = path;
}

// Puts the written temporary file in the target's place.
std::optional<FileError> ReplaceTarget(const std::string& target, TemporaryFile& temporary,
                                       bool exists, SavedFile& saved) {
    if (exists) {
        // Replacing keeps the target's attributes and security. The old file passes
        // through a backup name of the editor's own, deleted once the replace is done.
        TemporaryFile backup(UnusedName(FolderOf(target)));
        const std::string backupName = backup.Get();
        if (FileCalls.Replace(target.c_str(), temporary.Get().c_str(),
                              backupName.empty() ? nullptr : backupName.c_str(),
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            temporary.Release();
            DeleteOldCopy(backup, saved);
            return std::nullopt;
        }
        const DWORD code = GetLastError();
        // A target that has gone in the meantime is simply created.
        if (code != ERROR_FILE_NOT_FOUND || (backup && PathExists(backupName))) {
            FileError error = SystemFailure(code);
            RestoreTarget(target, backup, temporary, error);
            return error;
        }
    }
    if (!FileCalls.Move(temporary.Get().c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return SystemFailure(GetLastError());
    temporary.Release();
    return std::nullopt;
}

// The volume and the index the system gives the file `path`, which no other file on the
// machine shares; false when it cannot be opened.
bool IdentifyFile(const std::string& path, BY_HANDLE_FILE_INFORMATION& identity) {
    // No access asked, so a file any program holds open can be looked at; the flag lets
    // a folder be opened too.
    UniqueFile file(CreateFileA(path.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && GetFileInformationByHandle(file.Get(), &identity);
}

// The code page conversions take counts of type int; the editor's texts stay below that.
int CountOf(size_t count) {
    return static_cast<int>(count);
}

UINT CodePageOf(TextEncoding encoding) {
    return encoding == TextEncoding::CodePage ? CP_ACP : CP_UTF8;
}

// The bytes of `wide` in `encoding`, after `header` and the mark the encoding asks for,
// followed by `terminator` NULs, into `bytes`. In the code page, `bytes.Lossy` tells
// whether some character had no byte there and became "?".
std::optional<FileError> EncodeText(std::wstring_view wide, TextEncoding encoding,
                                    std::string_view header, size_t terminator,
                                    DocumentBytes& bytes) {
    const UINT codePage = CodePageOf(encoding);
    // Without best fit, a character the code page lacks becomes "?" rather than a look-alike,
    // and is counted as lost.
    const DWORD flags = codePage == CP_ACP ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL lossy = FALSE;
    BOOL* const lossyOut = codePage == CP_ACP ? &lossy : nullptr;
    const int needed = wide.empty()
                           ? 0
                           : WideCharToMultiByte(codePage, flags, wide.data(), CountOf(wide.size()),
                                                 nullptr, 0, nullptr, lossyOut);
    if (!wide.empty() && needed == 0)
        return SystemFailure(GetLastError());
    const std::string_view mark = encoding == TextEncoding::Utf8WithMark ? kUtf8Mark : "";
    const size_t size = header.size() + mark.size() + static_cast<size_t>(needed) + terminator;
    bytes.Buffer.Reset(FileCalls.Allocate(size));
    if (!bytes.Buffer)
        return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
    char* const start = static_cast<char*>(bytes.Buffer.Get());
    char* at = std::copy(header.begin(), header.end(), start);
    at = std::copy(mark.begin(), mark.end(), at);
    if (needed > 0)
        WideCharToMultiByte(codePage, flags, wide.data(), CountOf(wide.size()), at, needed, nullptr,
                            nullptr);
    std::fill_n(at + needed, terminator, '\0');
    bytes.Data = start;
    bytes.Size = size;
    bytes.Lossy = lossy != FALSE;
    return std::nullopt;
}

} // namespace

std::optional<FileError> FetchDocumentBytes(HWND editor, FileType type, TextFormat format,
                                            DocumentBytes& bytes) {
    const int length = GetWindowTextLengthW(editor);
    TextMemory memory = AllocateWideText(static_cast<size_t>(length));
    if (!memory)
        return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
    wchar_t* const text = static_cast<wchar_t*>(memory.Get());
    size_t got = static_cast<size_t>(GetWindowTextW(editor, text, length + 1));
    if (format.Ends == LineEnds::LineFeed)
        got = CollapseLineEnds(text, got);
    // The game reads a level description in the code page, whatever the file held before.
    const TextEncoding encoding =
        type == FileType::LevelDescription ? TextEncoding::CodePage : format.Encoding;
    const LayoutFrame frame = DocumentFrame(type, got);
    return EncodeText(std::wstring_view(text, got), encoding, frame.Header, frame.TerminatorSize,
                      bytes);
}

std::optional<FileError> WriteDocumentFile(const std::string& path, const DocumentBytes& bytes,
                                           SavedFile& saved) {
    const std::string target = FullPathOf(path);
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
    return ReplaceTarget(target, temporary, exists, saved);
}

std::string FullPathOf(const std::string& path) {
    const DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::string full(needed, '\0');
    const DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed)
        return path;
    full.resize(length);
    return full;
}

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TextMemory AllocateWideText(size_t characters) {
    if (characters >= SIZE_MAX / sizeof(wchar_t))
        return TextMemory();
    return TextMemory(FileCalls.Allocate((characters + 1) * sizeof(wchar_t)));
}

void* AllocateTextMemory(size_t size) {
    return ::operator new(size, std::nothrow);
}

bool IsSameFile(const std::string& one, const std::string& other) {
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    if (IdentifyFile(one, first) && IdentifyFile(other, second))
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh &&
               first.nFileIndexLow == second.nFileIndexLow;
    return lstrcmpiA(FullPathOf(one).c_str(), FullPathOf(other).c_str()) == 0;
}

std::optional<FileError> ReadDocumentFile(const std::string& path, FileType type, HWND editor,
                                          LoadedFile& loaded) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return SystemFailure(GetLastError());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return SystemFailure(GetLastError());
    if (size.QuadPart > kLargestDocumentFile)
        return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
    const DWORD length = static_cast<DWORD>(size.QuadPart);
    TextMemory memory(FileCalls.Allocate(length));
    if (!memory)
        return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
    char* const bytes = static_cast<char*>(memory.Get());

    DWORD read = 0;
    if (length > 0 && !ReadFile(file.Get(), bytes, length, &read, nullptr))
        return SystemFailure(GetLastError());
    if (read != length)
        return FileFailure(kShortReadError);
    file.Reset(); // read whole: the file is free for others while the text goes in

    const DecodedDocument decoded = DecodeDocument(std::string_view(bytes, length), type);
    if (decoded.ErrorNumber != 0)
        return FileFailure(decoded.ErrorNumber);
    const TextFormat format = DetectTextFormat(decoded.Text, type);
    std::string_view text = decoded.Text;
    if (format.Encoding == TextEncoding::Utf8WithMark)
        text.remove_prefix(kUtf8Mark.size());

    // The text as the editor holds it, with room for a CR before each LF that gets one.
    const UINT codePage = CodePageOf(format.Encoding);
    const int wideLength = text.empty() ? 0
                                        : MultiByteToWideChar(codePage, 0, text.data(),
                                                              CountOf(text.size()), nullptr, 0);
    if (!text.empty() && wideLength == 0)
        return SystemFailure(GetLastError());
    const size_t lineFeeds =
        format.Ends == LineEnds::LineFeed ? static_cast<size_t>(std::ranges::count(text, '\n')) : 0;
    TextMemory wideMemory = AllocateWideText(static_cast<size_t>(wideLength) + lineFeeds);
    if (!wideMemory)
        return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
    wchar_t* const wide = static_cast<wchar_t*>(wideMemory.Get());
    if (wideLength > 0)
        MultiByteToWideChar(codePage, 0, text.data(), CountOf(text.size()), wide, wideLength);
    wide[ExpandLineFeeds(wide, static_cast<size_t>(wideLength), lineFeeds)] = L'\0';
    const LoadedFile result{decoded.Loss, decoded.NulOffset, format};
    memory.Reset(); // the file's bytes are no longer needed while the control copies the text

    if (!FileCalls.SetEditorText(editor, wide))
        return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
    loaded = result;
    return std::nullopt;
}
