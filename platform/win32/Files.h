#pragma once
// Small file helpers shared by every writer of stored files.

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace win32 {

// Replaces Path with Contents atomically: the bytes go to a temporary file in the same folder, are flushed
// to disk, and the temporary file is renamed over Path. Returns false (and leaves Path untouched) on failure.
bool WriteFileAtomically(const std::string& Path, std::string_view Contents);
// The same, with the reason of a failure in Error (no room left, no permission, a missing folder).
bool WriteFileAtomically(const std::string& Path, std::string_view Contents, std::error_code& Error);

// Removes the temporary files that WriteFileAtomically left beside Path when the process was killed between
// making one and renaming it ("Path.XXXXXX", six letters or digits). Only regular files untouched for a
// minute go: a save of another running program is never in the way. Returns how many were removed.
int RemoveStaleTemporaries(const std::string& Path);

// Moves a stored file that could not be read out of the way, keeping it for the user: to Path + ".bad", or,
// when that is taken, to the first free of Path + ".bad.2" .. ".bad.5"; when all five are taken the oldest of
// them is replaced. The name it was moved to; nullopt when Path is not a regular file or cannot be moved.
std::optional<std::string> KeepDamagedFile(const std::string& Path);
// The same for whatever stands at Path (a folder in a stored file's place too, which would stop every save);
// nullopt when nothing is there or it cannot be moved.
std::optional<std::string> KeepDamagedEntry(const std::string& Path);

// The whole file, or nullopt when it cannot be read (missing, a folder, no permission, a read error); never
// throws.
std::optional<std::string> ReadWholeFile(const std::string& Path);
// The same, with the reason in Error when it gives nullopt: std::errc::no_such_file_or_directory means that
// there is no file, anything else that a file is there but cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& Path, std::error_code& Error);

// The last bytes of a file, as ReadFileTail reads them.
struct FileTail {
    bool regular = false; // false: a folder, a FIFO, a device or a size that cannot be had; nothing was read
    bool shorter = false; // the file is shorter than the bytes asked for; nothing was read
    std::string bytes;    // fewer than asked for when a read failed part way
};
// The last Count bytes of the file at Path, opened without blocking (a FIFO never waits for a writer).
// nullopt, with the reason in Error, when the file cannot be opened.
std::optional<FileTail> ReadFileTail(const std::string& Path, std::size_t Count, std::error_code& Error);

// The longest path the file system takes, in bytes (PATH_MAX less its terminating zero): a stored entry that
// names a file is never longer.
inline constexpr std::size_t MaxPathLength = 4095;

bool FileExists(const std::string& Path);
bool DirectoryExists(const std::string& Path);

// What a path names, for telling why it cannot be opened as a file.
enum class PathKind {
    Nothing,    // no entry of that name
    BrokenLink, // a symbolic link whose target is not there
    File,       // a regular file (through links)
    Folder,
    Special, // a FIFO, a device or a socket
};
PathKind KindOfPath(const std::string& Path);
// Empty when the regular file at Path opens for reading; else the system's reason ("Permission denied").
std::string FileReadError(const std::string& Path);

// Creates the folder and any missing parents. Returns true when the folder exists afterwards.
bool ForceDirectories(const std::string& Path);

// Path itself when that file exists; otherwise the file in the same folder whose name equals Path's name
// without regard to (ASCII) case, when there is one; otherwise Path unchanged. Files the player names with
// varying case (skin bitmaps) are found this way on a case-sensitive file system.
std::string FindFileNoCase(const std::string& Path);

// The full path of the running program file.
std::string GetModuleFileName();

} // namespace win32
