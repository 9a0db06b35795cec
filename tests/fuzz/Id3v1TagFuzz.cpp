// Fuzzes the ID3v1 tag reader with any file (the tag is the last 128 bytes): a file ending in "TAG" and its
// fields gives those fields, any other the empty fields and "No relevant information"; the description
// shows every field as valid UTF-8 without a zero byte, and the lyrics file name built from the tag stays a
// plain name inside the lyrics folder.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

#include "core/PlaybackState.h"
#include "core/TagsAndLyrics.h"
#include "platform/win32/CodePage.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "id3v1 tag", What);
}

const std::string& FilePath() {
    static const std::string path = "/tmp/quorel-fuzz-id3v1-" + std::to_string(::getpid()) + ".mp3";
    return path;
}

void CheckField(const char* Field, std::size_t Width) {
    const std::string text = Id3FieldText(Field, Width);
    Check(win32::IsValidUtf8(text), "a field shows as UTF-8");
    Check(text.find('\0') == std::string::npos, "a field ends at its first zero byte");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string bytes(reinterpret_cast<const char*>(Data), Size);
    const std::string& file = FilePath();
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;

    Id3v1Tag tag{};
    Check(ReadId3v1(tag, file, false), "a whole file is read");
    const bool tagged = Size >= sizeof tag && bytes.compare(Size - sizeof tag, 3, "TAG") == 0;
    if (tagged)
        Check(std::memcmp(&tag, bytes.data() + Size - sizeof tag, sizeof tag) == 0,
              "the tag is the last bytes");
    else
        Check(Id3FieldText(tag.Comment, sizeof tag.Comment) == "No relevant information" &&
                  Id3FieldText(tag.Title, sizeof tag.Title).empty() && tag.Genre == 0,
              "a file without a tag has the empty fields");
    CheckField(tag.Title, sizeof tag.Title);
    CheckField(tag.Artist, sizeof tag.Artist);
    CheckField(tag.Album, sizeof tag.Album);
    CheckField(tag.Year, sizeof tag.Year);
    CheckField(tag.Comment, sizeof tag.Comment);

    std::string text;
    GetId3Text(file, text, false);
    Check(text.starts_with("Title\t\t") && text.find("\r\nComment\t\t") != std::string::npos,
          "the description has its five lines");
    Check(win32::IsValidUtf8(text), "the description is UTF-8");
    const std::string& lrc = State.LrcFileName;
    Check(lrc.ends_with(".lrc") && lrc.find(" - ") != std::string::npos, "the lyrics file name has its form");
    for (const char c : lrc) {
        const auto b = static_cast<unsigned char>(c);
        Check(c != '/' && c != '\\' && b >= 0x20 && b != 0x7F, "the lyrics file name stays in its folder");
    }
    Check(win32::IsValidUtf8(lrc), "the lyrics file name is UTF-8");
    std::remove(file.c_str());
    return 0;
}
