#pragma once
// Default.ini, the program folders beside the program file, and the readers and writer every part of the
// player uses. There is no cache: each read goes to the file, each change is written at once.

#include <string>
#include <string_view>

#include "core/shared/PathEndings.h"

// The text ReadIniString gives for a missing section or key.
inline constexpr std::string_view ValueNoFind = "Value no find";

// Whether Text fits on one line of a stored file (the settings, the stored lists, the history): it holds no
// CR or LF. A file whose name holds one (names may) plays, but is never stored, so that no stored file
// holds half an entry.
inline bool FitsOnOneLine(std::string_view Text) {
    return Text.find_first_of("\r\n") == std::string_view::npos;
}

struct TProgramFolders {
    std::string AppPath;     // the program file's folder, ending in "/"
    std::string TempPath;    // AppPath + "Temp/"
    std::string ProjectPath; // AppPath + "Project"
    std::string IniPath;     // AppPath + "Ini"
    std::string ImagePath;   // AppPath + "Image"
    std::string SkinDir;     // AppPath + "Skin/"
    std::string LrcDir;      // AppPath + "Lrc/"
};

// The program folders derived from the path of the program file.
TProgramFolders GetProgramFolders(const std::string& ProgramFile);

// Creates whichever program folders are missing (the settings file cannot be created without "Ini").
void CreateProgramFolders(const TProgramFolders& Folders);

// Removes what a save killed half-way left of the program's own stored files (their temporaries):
// Default.ini, the stored lists, the history list, the history manager's HistoryTemp and the user's registry
// store.
void RemoveStaleSaveTemporaries(const TProgramFolders& Folders);

// The built-in default settings text: 84 lines, each ended by CR LF.
const std::string& DefaultIniText();

// Writes the default text to Path, replacing whatever is there (atomically).
void WriteDefaultIni(const std::string& Path);

// Writes the default text to IniFilePath when no file is there; an existing file is never checked or
// completed (nor replaced when it cannot be read).
void EnsureIniFile();

// [Section] Key of IniFilePath, whole whatever its length; "" for an empty value, ValueNoFind when missing
// (or when the file cannot be read).
std::string ReadIniString(std::string_view Section, std::string_view Key);

// [Section] Key of IniFilePath read as an integer; -1 when missing (or when the file cannot be read).
int ReadIniInteger(std::string_view Section, std::string_view Key);

// The one writer of settings: makes sure the file exists (so that a write after the file was deleted does not
// leave a file holding one key) and then writes the key. Returns false when the file could not be written, or
// is there but could not be read (it is then left as it was).
bool WriteIniString(std::string_view Section, std::string_view Key, std::string_view Value);
bool WriteIniInteger(std::string_view Section, std::string_view Key, long long Value);

// Sets [File] CaptureImagePath to TempPath when it is empty; a missing key is left alone.
void InitCaptureImagePath();

// The folders into the shared state, with SkinPath and IniFilePath derived from them.
void UseProgramFolders(const TProgramFolders& Folders);

// The first start-up steps of the main window (InitState): the program folders of ProgramFile into the
// shared state, SkinPath and IniFilePath, missing folders created, temporaries of killed saves removed, then
// EnsureIniFile and InitCaptureImagePath.
void StartSettings(const std::string& ProgramFile);
