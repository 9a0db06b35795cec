#include "platform/win32/Profile.h"

#include <cstdint>
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

struct ProfileLine {
    enum class Kind { Other, Section, Key };
    std::string text; // the line as stored, without its line end
    Kind kind = Kind::Other;
    std::string name;  // section or key name, trimmed
    std::string value; // key value, trimmed (quotes still on)
};

ProfileLine ParseLine(std::string text) {
    ProfileLine line;
    std::string_view t = Trim(text);
    if (!t.empty() && t.front() == '[') {
        t.remove_prefix(1);
        auto close = t.find(']');
        line.kind = ProfileLine::Kind::Section;
        line.name = std::string(Trim(close == std::string_view::npos ? t : t.substr(0, close)));
    } else if (!t.empty() && t.front() != ';') {
        line.kind = ProfileLine::Kind::Key;
        auto eq = t.find('=');
        if (eq == std::string_view::npos) {
            line.name = std::string(t);
        } else {
            line.name = std::string(Trim(t.substr(0, eq)));
            line.value = std::string(Trim(t.substr(eq + 1)));
        }
    }
    line.text = std::move(text);
    return line;
}

struct ProfileFile {
    bool hasBom = false;
    std::vector<ProfileLine> lines;
};

ProfileFile ParseProfile(std::string_view contents) {
    ProfileFile file;
    if (contents.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        file.hasBom = true;
        contents.remove_prefix(kUtf8Bom.size());
    }
    while (!contents.empty()) {
        auto nl = contents.find_first_of("\r\n");
        std::string_view raw = contents.substr(0, nl);
        file.lines.push_back(ParseLine(std::string(raw)));
        if (nl == std::string_view::npos)
            break;
        // CR LF, a lone LF and a lone CR all end a line.
        std::size_t skip =
            (contents[nl] == '\r' && nl + 1 < contents.size() && contents[nl + 1] == '\n') ? 2 : 1;
        contents.remove_prefix(nl + skip);
    }
    return file;
}

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
    auto contents = profileFiles->Read(path, error);
    if (contents)
        return ParseProfile(*contents);
    if (error == std::errc::no_such_file_or_directory)
        return ProfileFile{};
    return std::nullopt;
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

// The value of Key in the first section named Section, read straight from the file's text as ParseProfile
// and FindSection / FindKey would find it, without building its lines: the settings are read one key at a
// time, each read going through the whole file.
std::optional<std::string> FindValueInText(std::string_view contents, std::string_view section,
                                           std::string_view key) {
    if (contents.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        contents.remove_prefix(kUtf8Bom.size());
    bool inSection = false;
    while (!contents.empty()) {
        const auto nl = contents.find_first_of("\r\n");
        std::string_view t = Trim(contents.substr(0, nl));
        if (nl == std::string_view::npos)
            contents = {};
        else
            contents.remove_prefix(
                nl +
                ((contents[nl] == '\r' && nl + 1 < contents.size() && contents[nl + 1] == '\n') ? 2 : 1));
        if (!t.empty() && t.front() == '[') {
            // The first section of that name ends at the next header, found or not.
            if (inSection)
                return std::nullopt;
            t.remove_prefix(1);
            inSection = SameAsciiText(Trim(t.substr(0, t.find(']'))), section);
        } else if (inSection && !t.empty() && t.front() != ';') {
            const auto eq = t.find('=');
            if (SameAsciiText(Trim(t.substr(0, eq)), key))
                return std::string(
                    StripQuotes(eq == std::string_view::npos ? std::string_view() : Trim(t.substr(eq + 1))));
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
    ProfileFile& file = *loaded;
    std::string entry = std::string(Key) + "=" + OneLine(Value);
    auto range = FindSection(file, Section);
    if (!range) {
        file.lines.push_back(ParseLine("[" + std::string(Section) + "]"));
        file.lines.push_back(ParseLine(entry));
    } else if (auto index = FindKey(file, *range, Key)) {
        // Keep the key as it is spelled in the file.
        file.lines[*index] = ParseLine(file.lines[*index].name + "=" + OneLine(Value));
    } else {
        // After the last non-empty line of the section, so a blank line before the next section stays.
        std::size_t at = range->end;
        while (at > range->header + 1 && Trim(file.lines[at - 1].text).empty())
            --at;
        file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at), ParseLine(entry));
    }
    std::string out;
    if (file.hasBom)
        out += kUtf8Bom;
    for (const auto& line : file.lines) {
        out += line.text;
        out += "\r\n";
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
