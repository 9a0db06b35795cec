// Fuzzes the stored history file with any file contents, read as the player reads it: either the reader finds
// it damaged (it does not decompress, a line is longer than a path, or it unpacks to more than a history
// holds) or its text splits into the history's lines; the lines written back (compressed as the player saves
// them) read back the same.

#include <cstdint>
#include <string>

#include "core/History.h"
#include "platform/compress/Compression.h"
#include "platform/forms/Streams.h"
#include "platform/forms/StringList.h"
#include "platform/win32/Files.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "history file", What);
}

// The history's lines in the stored file, as the player reads it (empty for a file it finds damaged).
bool ReadLines(const std::string& Bytes, forms::TStringList& Lines) {
    forms::TMemoryStream packed;
    packed.Write(Bytes);
    packed.SetPosition(0);
    forms::TMemoryStream text;
    const int status = compression::MyDeCompression(packed, text);
    Check(packed.Position() == packed.Size(), "the whole file is taken");
    Check(status <= 0, "the status is 0 or a failure");
    const bool read = UnpackHistory(Bytes, Lines);
    Check(!read || status == 0, "the reader takes only what decompresses");
    Check(read || Lines.Empty(), "a damaged history reads as none");
    for (const std::string& line : Lines)
        Check(line.size() <= win32::MaxPathLength, "no entry is longer than a path");
    return read;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    forms::TStringList lines;
    if (!ReadLines(std::string(reinterpret_cast<const char*>(Data), Size), lines))
        return 0;

    forms::TStringList again;
    Check(ReadLines(PackHistory(lines), again), "the saved file reads back");
    Check(again.Items() == lines.Items(), "the lines read back");
    return 0;
}
