#pragma once
// Between the bytes of a file and the editor's Unicode text. Text "in the code page" is in
// the system's code page; where the system's code page is UTF-8, in the user's own Windows
// code page, which the game reads its files in.
#include <windows.h>

#include <string_view>

#include "document/file_calls.h"
#include "document/file_error.h"
#include "document/text_format.h"

// A whole text of the editor, in memory that may run out, with a closing NUL.
struct EditorText {
    TextMemory Memory;
    size_t Length = 0; // in characters, without the NUL
    wchar_t* Data() const { return static_cast<wchar_t*>(Memory.Get()); }
};

// A whole file's bytes, in memory that may run out.
struct DocumentBytes {
    TextMemory Memory;
    size_t Size = 0;
    std::string_view Text; // the encoded text among them: no header, mark or closing NUL
    bool Lossy = false;    // some character had no form in the encoding and became "?"
    const char* Data() const { return static_cast<const char*>(Memory.Get()); }
    std::string_view View() const { return {Data(), Size}; }
};

// The code page of text "in the code page": the system's, or the user's own Windows code
// page where the system's is UTF-8. UTF-8 itself where the user's language has none.
UINT TextCodePage();

// `bytes`, text encoded as `format` says, as the editor's text, with CR LF where a file
// whose lines end in LF alone has an LF.
Outcome<EditorText> DecodeText(std::string_view bytes, TextFormat format);

// `text` encoded as `format` says, with its CR LF turned back into LF for a file whose lines
// end in LF alone, after `header` and the mark the encoding asks for, and followed by
// `terminator` NUL bytes. A character the encoding cannot hold becomes "?", and the
// result's `Lossy` says so. `text` may be changed on the way.
Outcome<DocumentBytes> EncodeText(EditorText& text, TextFormat format, std::string_view header,
                                  size_t terminator);
