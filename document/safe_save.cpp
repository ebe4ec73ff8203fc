#include "document/safe_save.h"

#include <windows.h>

#include <cstdio>

#include "document/error_report.h"
#include "document/file_calls.h"
#include "document/file_names.h"
#include "document/path_text.h"
#include "platform/file_handle.h"

namespace {

// A file beside the target, deleted when it goes out of scope unless it has become the
// target, or been left on purpose, by then.
struct TemporaryFileTraits {
    using Handle = std::string;
    static Handle Invalid() { return {}; }
    static void Close(const Handle& path) { DeleteFileA(path.c_str()); }
};
using TemporaryFile = UniqueResource<TemporaryFileTraits>;

// Whether there is a target to replace. A file another program holds open without sharing
// it refuses the probe with a sharing violation: access denied (5); one held open by a program
// that shares it (an indexer, a viewer, the game) can be replaced. A name that reaches a
// device is no file to save in: on some systems "nul.txt" is the null device, which takes
// every byte and keeps none. Windows refuses to replace a read-only file, but not every system
// that runs the editor does, and one running as the machine's administrator ignores the
// attribute altogether: the check is the editor's own.
Outcome<bool> TargetExists(const std::string& target) {
    UniqueFile probe(CreateFileA(target.c_str(), GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND)
            return {std::nullopt, false};
        if (IsDeviceName(target))
            return {FileFailure(kDeviceError)};
        return {SystemFailure(code)};
    }
    if (GetFileType(probe.Get()) != FILE_TYPE_DISK)
        return {FileFailure(kDeviceError)};
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return {SystemFailure(ERROR_ACCESS_DENIED)};
    return {std::nullopt, true};
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

// The file of a new name in `folder` that the new content is written to.
struct NewFile {
    TemporaryFile Name;
    UniqueFile Handle;
};

Outcome<NewFile> CreateTemporaryFile(const std::string& folder) {
    static DWORD attempt = 0;
    for (DWORD tries = 0; tries < kNameAttempts; ++tries) {
        const std::string path = TemporaryName(folder, attempt++);
        UniqueFile handle(FileCalls.Create(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle)
            return {std::nullopt, {TemporaryFile(path), std::move(handle)}};
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    return {SystemFailure(GetLastError())};
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

std::optional<FileError> WriteAll(const UniqueFile& file, std::string_view bytes) {
    DWORD written = 0;
    if (!bytes.empty() && !FileCalls.Write(file.Get(), bytes.data(),
                                           static_cast<DWORD>(bytes.size()), &written, nullptr))
        return SystemFailure(GetLastError());
    if (written != bytes.size())
        return FileFailure(kShortWriteError);
    if (!FileCalls.Flush(file.Get()))
        return SystemFailure(GetLastError());
    return std::nullopt;
}

// After a failed replace `error`, the target must stand under its own name, holding its old
// bytes or else the new ones. Some failures come after the old file has been moved to the
// backup name: it goes back, and the save has failed. Failing that, the new file takes the
// name, and the save is done after all; the old copy then stays where it is, for the user to
// see. What cannot be moved stays on disk, so no copy is ever deleted while the target is
// missing; when neither copy could take the name, the report says where both are.
SaveOutcome RestoreTarget(const std::string& target, TemporaryFile& backup,
                          TemporaryFile& temporary, FileError error) {
    if (PathExists(target))
        return {error};
    const bool oldCopy = backup && PathExists(backup.Get());
    if (oldCopy && FileCalls.Move(backup.Get().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        backup.Release();
        return {error};
    }
    if (FileCalls.Move(temporary.Get().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        temporary.Release();
        return {std::nullopt, oldCopy ? backup.Release() : std::string()};
    }
    std::string folder = FolderOf(target);
    if (folder.size() > 3) // the root keeps its backslash
        folder.pop_back();
    error.Details.push_back(FileNamePart(target) + " is missing from the folder " + folder + ".");
    if (oldCopy)
        error.Details.push_back("Its old content is in " + FileNamePart(backup.Get()) + ".");
    error.Details.push_back("Its new content is in " + FileNamePart(temporary.Get()) + ".");
    backup.Release();
    temporary.Release();
    return {error};
}

// Deletes the old copy of a replaced file; should that fail, tries once more, and
// otherwise leaves it where it is and names it.
std::string DeleteOldCopy(TemporaryFile& backup) {
    const std::string path = backup.Release();
    if (path.empty() || !PathExists(path))
        return {};
    if (FileCalls.Delete(path.c_str()))
        return {};
    Sleep(100); // a virus scanner or an indexer may be looking at it for a moment
    if (FileCalls.Delete(path.c_str()))
        return {};
    return path;
}

// Puts the written temporary file in the target's place.
SaveOutcome ReplaceTarget(const std::string& target, TemporaryFile& temporary, bool exists) {
    if (exists) {
        // Replacing keeps the target's attributes and security. The old file passes
        // through a backup name of the editor's own, deleted once the replace is done.
        TemporaryFile backup(UnusedName(FolderOf(target)));
        const std::string backupName = backup.Get();
        if (FileCalls.Replace(target.c_str(), temporary.Get().c_str(),
                              backupName.empty() ? nullptr : backupName.c_str(),
                              REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            temporary.Release();
            return {std::nullopt, DeleteOldCopy(backup)};
        }
        const DWORD code = GetLastError();
        // A target that has gone in the meantime is simply created.
        if (code != ERROR_FILE_NOT_FOUND || (backup && PathExists(backupName)))
            return RestoreTarget(target, backup, temporary, SystemFailure(code));
    }
    if (!FileCalls.Move(temporary.Get().c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {SystemFailure(GetLastError())};
    temporary.Release();
    return {};
}

} // namespace

SaveOutcome WriteDocumentFile(const std::string& path, std::string_view bytes) {
    const std::string target = FullPathOf(path);
    auto [error, exists] = TargetExists(target);
    if (error)
        return {error};
    auto [createError, file] = CreateTemporaryFile(FolderOf(target));
    if (createError)
        return {createError};
    if (auto writeError = WriteAll(file.Handle, bytes))
        return {writeError};
    file.Handle.Reset(); // closed before it replaces the target
    return ReplaceTarget(target, file.Name, exists);
}
