#include "document/document_file.h"

#include <cstring>

#include "document/error_report.h"
#include "document/file_names.h"
#include "document/path_text.h"
#include "platform/file_handle.h"

namespace {

// The largest file whose text length (with its NUL) fits a signed 32-bit count, as the
// editor control's text must. Larger files, and files there is no memory for, fail
// with the system's "not enough memory".
constexpr LONGLONG kLargestDocumentFile = 0x7FFFFFFE;

} // namespace

Outcome<DocumentBytes> ReadFileBytes(const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD code = GetLastError();
        if (IsDeviceName(FullPathOf(path)))
            return {FileFailure(kDeviceError)};
        return {SystemFailure(code)};
    }
    // Some systems open "nul.txt" as the null device, which reads as an empty file.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        return {FileFailure(kDeviceError)};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return {SystemFailure(GetLastError())};
    if (size.QuadPart > kLargestDocumentFile)
        return {SystemFailure(ERROR_NOT_ENOUGH_MEMORY)};
    DocumentBytes bytes;
    bytes.Size = static_cast<size_t>(size.QuadPart);
    bytes.Memory.Reset(FileCalls.Allocate(bytes.Size));
    if (!bytes.Memory)
        return {SystemFailure(ERROR_NOT_ENOUGH_MEMORY)};
    DWORD read = 0;
    if (bytes.Size > 0 &&
        !ReadFile(file.Get(), bytes.Memory.Get(), static_cast<DWORD>(bytes.Size), &read, nullptr))
        return {SystemFailure(GetLastError())};
    if (read != bytes.Size)
        return {FileFailure(kShortReadError)};
    return {std::nullopt, std::move(bytes)};
}

Outcome<LoadedDocument> DecodeDocumentBytes(std::string_view bytes, FileType type, bool gameFile) {
    const DecodedDocument stored = DecodeDocument(bytes, type);
    if (stored.ErrorNumber != 0)
        return {FileFailure(stored.ErrorNumber)};
    LoadedDocument decoded;
    decoded.Loss = stored.Loss;
    decoded.NulOffset = stored.NulOffset;
    decoded.Format = DetectTextFormat(stored.Text, gameFile);
    std::string_view text = stored.Text;
    if (decoded.Format.Encoding == TextEncoding::Utf8WithMark)
        text.remove_prefix(kUtf8Mark.size());
    auto [error, wide] = DecodeText(text, decoded.Format);
    if (error)
        return {error};
    decoded.Text = std::move(wide);
    return {std::nullopt, std::move(decoded)};
}

std::optional<FileError> PutEditorText(HWND editor, const EditorText& text) {
    // The control takes a block of its own kind as its buffer, which costs it less than a text
    // it has to insert; the buffer it had is then the editor's to free.
    const size_t size = (text.Length + 1) * sizeof(wchar_t);
    LocalMemory block(FileCalls.AllocateEditorBuffer(LMEM_MOVEABLE, size));
    if (!block)
        return SystemFailure(ERROR_NOT_ENOUGH_MEMORY);
    std::memcpy(LocalLock(block.Get()), text.Data(), size);
    LocalUnlock(block.Get());
    const LocalMemory previous(reinterpret_cast<HLOCAL>(SendMessageW(editor, EM_GETHANDLE, 0, 0)));
    SendMessageW(editor, EM_SETHANDLE, reinterpret_cast<WPARAM>(block.Release()), 0);
    return std::nullopt;
}

Outcome<EditorText> FetchEditorText(HWND editor) {
    const int length = GetWindowTextLengthW(editor);
    EditorText text;
    text.Memory = AllocateWideText(static_cast<size_t>(length));
    if (!text.Memory)
        return {SystemFailure(ERROR_NOT_ENOUGH_MEMORY)};
    text.Length = static_cast<size_t>(GetWindowTextW(editor, text.Data(), length + 1));
    return {std::nullopt, std::move(text)};
}

Outcome<DocumentBytes> EncodeDocumentText(EditorText& text, FileType type, TextFormat format) {
    const LayoutFrame frame = DocumentFrame(type, text.Length);
    return EncodeText(text, format, frame.Header, frame.TerminatorSize);
}
