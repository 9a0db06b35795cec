// Fuzzes the stored history file with any file contents, read as the player reads it: either the
// decompression refuses it (a negative status) or its text splits into the history's lines; the lines
// written back (compressed as the player saves them) read back the same.

#include <cstdint>
#include <string>

#include "platform/compress/Compression.h"
#include "platform/forms/Streams.h"
#include "platform/forms/StringList.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "history file", What);
}

// The history's lines in the stored file (empty for a file the decompression refuses), with its status.
int ReadLines(const std::string& Bytes, forms::TStringList& Lines) {
    forms::TMemoryStream packed;
    packed.Write(Bytes);
    packed.SetPosition(0);
    forms::TMemoryStream text;
    const int status = compression::MyDeCompression(packed, text);
    Check(packed.Position() == packed.Size(), "the whole file is taken");
    Lines.Clear();
    if (status >= 0)
        Lines.SetText(text.Bytes());
    return status;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    forms::TStringList lines;
    const int status = ReadLines(std::string(reinterpret_cast<const char*>(Data), Size), lines);
    Check(status <= 0, "the status is 0 or a failure");
    if (status < 0)
        return 0;

    forms::TMemoryStream text;
    text.Write(lines.Text());
    text.SetPosition(0);
    forms::TMemoryStream packed;
    Check(compression::MyCompression(text, packed, 3) == 0, "the lines compress");
    forms::TStringList again;
    Check(ReadLines(packed.Bytes(), again) == 0, "the saved file decompresses");
    Check(again.Items() == lines.Items(), "the lines read back");
    return 0;
}
