#include "platform/win32/Profile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/win32/AsciiText.h"
#include "platform/win32/Files.h"

namespace win32 {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// One line of a profile file, seen in the file's text (which outlives it).
struct ProfileLine {
    enum class Kind { Other, Section, Key };
    std::string_view text; // the line as stored, without its line end
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value; // key value, trimmed (quotes still on)
};

ProfileLine ParseLine(std::string_view text) {
    ProfileLine line;
    line.text = text;
    std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '[') {
        t.remove_prefix(1);
        line.kind = ProfileLine::Kind::Section;
        line.name = Trim(t.substr(0, t.find(']')));
    } else if (!t.empty() && t.front() != ';') {
        line.kind = ProfileLine::Kind::Key;
        const auto eq = t.find('=');
        line.name = Trim(t.substr(0, eq));
        if (eq != std::string_view::npos)
            line.value = Trim(t.substr(eq + 1));
    }
    return line;
}

// Takes the first line off Contents (without its line end): CR LF, a lone LF and a lone CR all end a line.
std::string_view NextLine(std::string_view& Contents) {
    const auto nl = Contents.find_first_of("\r\n");
    const std::string_view line = Contents.substr(0, nl);
    if (nl == std::string_view::npos)
        Contents = {};
    else
        Contents.remove_prefix(
            nl + ((Contents[nl] == '\r' && nl + 1 < Contents.size() && Contents[nl + 1] == '\n') ? 2 : 1));
    return line;
}

bool StripBom(std::string_view& Contents) {
    if (!Contents.starts_with(kUtf8Bom))
        return false;
    Contents.remove_prefix(kUtf8Bom.size());
    return true;
}

struct ProfileFile {
    // The lines' text, where it stays while the file is moved about.
    std::unique_ptr<const std::string> contents = std::make_unique<const std::string>();
    bool hasBom = false;
    std::vector<ProfileLine> lines;
};

class DiskProfileFiles : public ProfileFiles {
public:
    std::optional<std::string> Read(const std::string& File, std::error_code& Error) override {
        return ReadWholeFile(File, Error);
    }
    bool Write(const std::string& File, std::string_view Contents) override {
        return WriteFileAtomically(File, Contents);
    }
};

DiskProfileFiles diskFiles;
ProfileFiles* profileFiles = &diskFiles;

// The parsed file, empty when there is no file; nullopt when a file is there but cannot be read.
std::optional<ProfileFile> LoadProfile(const std::string& path) {
    std::error_code error;
    std::optional<std::string> contents = profileFiles->Read(path, error);
    if (!contents)
        return error == std::errc::no_such_file_or_directory ? std::optional<ProfileFile>(ProfileFile{})
                                                             : std::nullopt;
    ProfileFile file;
    file.contents = std::make_unique<const std::string>(std::move(*contents));
    std::string_view text = *file.contents;
    file.hasBom = StripBom(text);
    while (!text.empty())
        file.lines.push_back(ParseLine(NextLine(text)));
    return file;
}

// Index range [first, last) of the key lines of the first section named Section; nullopt when missing.
struct SectionRange {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionRange> FindSection(const ProfileFile& file, std::string_view section) {
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        const auto& line = file.lines[i];
        if (line.kind != ProfileLine::Kind::Section || !SameAsciiText(line.name, section))
            continue;
        std::size_t end = i + 1;
        while (end < file.lines.size() && file.lines[end].kind != ProfileLine::Kind::Section)
            ++end;
        return SectionRange{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const ProfileFile& file, const SectionRange& range, std::string_view key) {
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const auto& line = file.lines[i];
        if (line.kind == ProfileLine::Kind::Key && SameAsciiText(line.name, key))
            return i;
    }
    return std::nullopt;
}

std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The value of Key in the first section named Section, found line by line as FindSection and FindKey would
// find it, without keeping the lines: the settings are read one key at a time, each read going through the
// whole file.
std::optional<std::string> FindValueInText(std::string_view contents, std::string_view section,
                                           std::string_view key) {
    StripBom(contents);
    bool inSection = false;
    while (!contents.empty()) {
        const ProfileLine line = ParseLine(NextLine(contents));
        if (line.kind == ProfileLine::Kind::Section) {
            // The first section of that name ends at the next header.
            if (inSection)
                return std::nullopt;
            inSection = SameAsciiText(line.name, section);
        } else if (inSection && line.kind == ProfileLine::Kind::Key && SameAsciiText(line.name, key)) {
            return std::string(StripQuotes(line.value));
        }
    }
    return std::nullopt;
}

std::optional<std::string> FindValue(const std::string& File, std::string_view section,
                                     std::string_view key) {
    std::error_code error;
    const std::optional<std::string> contents = profileFiles->Read(File, error);
    return contents ? FindValueInText(*contents, section, key) : std::nullopt;
}

// A line end inside a value would split the entry into two lines and corrupt the file.
std::string OneLine(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

// A name the readers find again: no line end (it would inject lines), no "=" (a key ends there), no "]" (a
// section name ends there), and no ";" or "[" first (the line would be a comment or a section header).
bool NameReadsBack(std::string_view Name) {
    return Name.find_first_of("\r\n=]") == std::string_view::npos &&
           (Name.empty() || (Name.front() != ';' && Name.front() != '['));
}

} // namespace

std::string GetPrivateProfileString(std::string_view Section, std::string_view Key, std::string_view Default,
                                    const std::string& File) {
    auto value = FindValue(File, Trim(Section), Trim(Key));
    return value ? *value : std::string(Default);
}

std::optional<int> ProfileTextToInt(std::string_view Text) {
    if (Text.empty())
        return std::nullopt;
    std::size_t i = 0;
    while (i < Text.size() && static_cast<unsigned char>(Text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) {
        negative = Text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i + 1 < Text.size() && Text[i] == '0') {
        char p = AsciiLower(Text[i + 1]);
        if (p == 'x' || p == 'o' || p == 'b') {
            base = p == 'x' ? 16 : (p == 'o' ? 8 : 2);
            i += 2;
        }
    }
    std::uint32_t result = 0;
    for (; i < Text.size(); ++i) {
        char c = AsciiLower(Text[i]);
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else
            break;
        if (digit >= base)
            break;
        result = result * base + digit; // wraps modulo 2^32 as the Windows reader does
    }
    if (negative)
        result = 0u - result;
    return static_cast<int>(result);
}

int GetPrivateProfileInt(std::string_view Section, std::string_view Key, int Default,
                         const std::string& File) {
    auto value = FindValue(File, Trim(Section), Trim(Key));
    if (!value)
        return Default;
    return ProfileTextToInt(*value).value_or(Default);
}

bool WritePrivateProfileString(std::string_view Section, std::string_view Key, std::string_view Value,
                               const std::string& File) {
    // Names are matched and written trimmed, as the file's own names are read: " x " finds x and replaces it.
    Section = Trim(Section);
    Key = Trim(Key);
    if (!NameReadsBack(Section) || !NameReadsBack(Key))
        return false;
    // A file that is there but cannot be read is left alone: rewriting it would keep only this key.
    std::optional<ProfileFile> loaded = LoadProfile(File);
    if (!loaded)
        return false;
    const ProfileFile& file = *loaded;
    const std::string entry = std::string(Key) + "=" + OneLine(Value);
    std::string out;
    out.reserve(file.contents->size() + file.lines.size() + entry.size() + Section.size() + 8);
    if (file.hasBom)
        out += kUtf8Bom;
    auto put = [&out](std::string_view Line) {
        out += Line;
        out += "\r\n";
    };
    const auto range = FindSection(file, Section);
    // The line that becomes the entry, or before which it goes; none: the section goes at the end with it.
    std::optional<std::size_t> replaced, before;
    if (range) {
        replaced = FindKey(file, *range, Key);
        if (!replaced) {
            // After the last non-empty line of the section, so a blank line before the next section stays.
            std::size_t at = range->end;
            while (at > range->header + 1 && Trim(file.lines[at - 1].text).empty())
                --at;
            before = at;
        }
    }
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        if (before == i)
            put(entry);
        // Keep the key as it is spelled in the file.
        if (replaced == i)
            put(std::string(file.lines[i].name) + "=" + OneLine(Value));
        else
            put(file.lines[i].text);
    }
    if (before == file.lines.size())
        put(entry);
    if (!range) {
        put("[" + std::string(Section) + "]");
        put(entry);
    }
    return profileFiles->Write(File, out);
}

std::optional<std::string> MemoryProfileFiles::Read(const std::string& File, std::error_code& Error) {
    Error.clear();
    const auto found = Files.find(File);
    if (found == Files.end()) {
        Error = std::make_error_code(std::errc::no_such_file_or_directory);
        return std::nullopt;
    }
    return found->second;
}

bool MemoryProfileFiles::Write(const std::string& File, std::string_view Contents) {
    Files[File] = std::string(Contents);
    return true;
}

void SetProfileFiles(ProfileFiles* Files) {
    profileFiles = Files != nullptr ? Files : &diskFiles;
}

} // namespace win32
