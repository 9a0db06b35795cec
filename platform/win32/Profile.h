#pragma once
// Private profile (INI) files with the observable behaviour of the Windows profile functions:
// section and key names are trimmed and compare without regard to (ASCII) case, the first matching section
// and the first matching key in it win, values are trimmed and lose one pair of enclosing quotes, and a
// write replaces the value in place, appends the key to its section or appends the section to the end of
// the file.
//
// Unlike the Windows functions, values of any length come back whole, and every write replaces the file
// atomically (a temporary file beside it, then a rename), so a crash never leaves a half-written file.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace win32 {

// Where the profile functions read and write their files: the disk (whole reads, atomic replacement) unless
// another store is set.
class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;
    // The file's bytes; nullopt with the reason in Error when it cannot be read (no_such_file_or_directory:
    // there is no file).
    virtual std::optional<std::string> Read(const std::string& File, std::error_code& Error) = 0;
    // Replaces the file with Contents; false when it could not be written.
    virtual bool Write(const std::string& File, std::string_view Contents) = 0;
};

// Files held in memory by name, for tests and for fuzzing the reader and the writer at full speed.
class MemoryProfileFiles : public ProfileFiles {
public:
    std::optional<std::string> Read(const std::string& File, std::error_code& Error) override;
    bool Write(const std::string& File, std::string_view Contents) override;
    std::map<std::string, std::string> Files;
};

// Files: where the profile functions keep their files from now on; nullptr: the disk again. The caller keeps
// Files alive while it is set.
void SetProfileFiles(ProfileFiles* Files);

// The value of Key in Section of File, or Default when the file, the section or the key is missing (or the
// file cannot be read). A key that is present with an empty value gives the empty text.
std::string GetPrivateProfileString(std::string_view Section, std::string_view Key, std::string_view Default,
                                    const std::string& File);

// The value read as GetPrivateProfileIntA reads it: leading blanks skipped, an optional sign, an optional
// "0x" (hex), "0o" (octal) or "0b" (binary) prefix, then the leading digits (so "55zz" gives 55 and "zz"
// gives 0), wrapping modulo 2^32 and returned as a signed 32-bit value. A missing or empty value gives
// Default.
int GetPrivateProfileInt(std::string_view Section, std::string_view Key, int Default,
                         const std::string& File);

// Writes Key=Value into Section of File, creating the file when missing. Returns false when the file could
// not be written, or is there but could not be read; the old file is then left as it was. Also refused, the
// file left alone: a section or key name (trimmed) that could not be read back, one holding CR, LF, "=" or
// "]" or beginning with ";" or "[" (a line break would add lines of its own).
bool WritePrivateProfileString(std::string_view Section, std::string_view Key, std::string_view Value,
                               const std::string& File);

// The integer rule of GetPrivateProfileInt applied to a text; nullopt for the empty text.
std::optional<int> ProfileTextToInt(std::string_view Text);

} // namespace win32
