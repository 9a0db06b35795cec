#include "core/Settings.h"

#include <filesystem>

#include "core/PlaybackState.h"
#include "platform/win32/Files.h"
#include "platform/win32/Profile.h"
#include "platform/win32/Registry.h"

TProgramFolders GetProgramFolders(const std::string& ProgramFile) {
    TProgramFolders f;
    f.AppPath = IncludeTrailingSlash(std::filesystem::path(ProgramFile).parent_path().string());
    f.TempPath = IncludeTrailingSlash(f.AppPath) + "Temp" + "/";
    f.ProjectPath = IncludeTrailingSlash(f.AppPath) + "Project";
    f.IniPath = IncludeTrailingSlash(f.AppPath) + "Ini";
    f.ImagePath = IncludeTrailingSlash(f.AppPath) + "Image";
    f.SkinDir = IncludeTrailingSlash(f.AppPath) + "Skin" + "/";
    f.LrcDir = IncludeTrailingSlash(f.AppPath) + "Lrc" + "/";
    return f;
}

void CreateProgramFolders(const TProgramFolders& Folders) {
    for (const auto* folder : {&Folders.TempPath, &Folders.ProjectPath, &Folders.IniPath, &Folders.ImagePath,
                               &Folders.SkinDir, &Folders.LrcDir})
        win32::ForceDirectories(*folder);
    win32::ForceDirectories(IncludeTrailingSlash(Folders.SkinDir) + "Default");
}

void RemoveStaleSaveTemporaries(const TProgramFolders& Folders) {
    const std::string project = IncludeTrailingSlash(Folders.ProjectPath);
    for (const std::string& stored :
         {IncludeTrailingSlash(Folders.IniPath) + "Default.ini", project + "PlayFileList",
          project + "DvdFileList", project + "HistoryList",
          IncludeTrailingSlash(Folders.AppPath) + "HistoryTemp", win32::UserRegistryStorePath()})
        if (!stored.empty())
            win32::RemoveStaleTemporaries(stored);
}

const std::string& DefaultIniText() {
    static const std::string text = [] {
        static constexpr const char* lines[] = {
            "[File]",
            "Language=1",
            "CaptureImagePath=",
            "DefaultImageType=.bmp",
            "AskSaveOption=1",
            "ClearHistoryExit=0",
            "",
            "[Play]",
            "StayOnTop=0",
            "AfterPlay=0",
            "isSlience=0",
            "SoundLevel=30",
            "SoundBalance=0",
            "QuickOnce=5",
            "SlowOnce=5",
            "SelKernelType=1",
            "RenderType=1009",
            "UseGPU=1",
            "",
            "[View]",
            "TitleAndMenu=1",
            "ControlBar=1",
            "StatusBar=1",
            "PlayList=1",
            "FullScreenByStart=1",
            "HideControlBarTime=5",
            "VideoScale=0",
            "VideoRoom=2",
            "",
            "[Navigate]",
            "Subpicture=1",
            "",
            "[PlayControl]",
            "DefDriver=",
            "AutoResumePlay=0",
            "WhileOpenMedia=1",
            "MemoryLastPos=1",
            "AddAlliedMedia=1",
            "FullScreenAtonce=0",
            "MinimizeToTray=1",
            "PlayMode=0",
            "LastPlayType=1",
            "LastDomain=2",
            "LastPos=0",
            "ReloadLast=1",
            "TitleJump=0",
            "FinisJump=0",
            "LastMediaFile=",
            "LastDvd=",
            "",
            "[Pip]",
            "SmallPosition=3",
            "pipMediaFileA=",
            "pipMediaFileB=",
            "",
            "[ShortCut]",
            "OpenFile=Ctrl+O",
            "OpenDvdDirectory=Ctrl+D",
            "Close=Ctrl+C",
            "CaptureScreen=F6",
            "Property=Ctrl+Alt+P",
            "Play/Pause=Space",
            "Stop=Ctrl+S",
            "SingleFrameStep=F11",
            "PlayPrevious=PgUp",
            "PlayNext=PgDn",
            "Goto=Ctrl+G",
            "Forward=Ctrl+Right",
            "Backward=Ctrl+Left",
            "AcceleratePlay=Ctrl+Up",
            "DeceleratePlay=Ctrl+Down",
            "NormalPlay=Ctrl+R",
            "PreviousFrame=Left",
            "NextFrame=Right",
            "HoistVolume=Up",
            "DebaseVolume=Down",
            "Slience=Ctrl+M",
            "Stereo=F10",
            "LeftTrack=Alt+L",
            "RightTrack=Alt+R",
            "BossKey=Ctrl+F12",
            "Option=Ctrl+Alt+O",
            "PlayList=Ctrl+L",
            "FullScreen=Enter",
        };
        std::string out;
        for (const char* line : lines) {
            out += line;
            out += "\r\n";
        }
        return out;
    }();
    return text;
}

void WriteDefaultIni(const std::string& Path) {
    win32::WriteFileAtomically(Path, DefaultIniText());
}

void EnsureIniFile() {
    // Only a missing file gets the default text. One that is there but cannot be read stays as it is: its
    // reads give the fallbacks and its writes fail.
    std::error_code error;
    if (std::filesystem::status(State.IniFilePath, error).type() == std::filesystem::file_type::not_found)
        WriteDefaultIni(State.IniFilePath);
}

std::string ReadIniString(std::string_view Section, std::string_view Key) {
    EnsureIniFile();
    return win32::GetPrivateProfileString(Section, Key, ValueNoFind, State.IniFilePath);
}

int ReadIniInteger(std::string_view Section, std::string_view Key) {
    EnsureIniFile();
    return win32::GetPrivateProfileInt(Section, Key, -1, State.IniFilePath);
}

bool WriteIniString(std::string_view Section, std::string_view Key, std::string_view Value) {
    EnsureIniFile();
    return win32::WritePrivateProfileString(Section, Key, Value, State.IniFilePath);
}

bool WriteIniInteger(std::string_view Section, std::string_view Key, long long Value) {
    return WriteIniString(Section, Key, std::to_string(Value));
}

void InitCaptureImagePath() {
    if (ReadIniString("File", "CaptureImagePath").empty())
        WriteIniString("File", "CaptureImagePath", State.TempPath);
}

void UseProgramFolders(const TProgramFolders& folders) {
    State.AppPath = folders.AppPath;
    State.TempPath = folders.TempPath;
    State.ProjectPath = folders.ProjectPath;
    State.IniPath = folders.IniPath;
    State.ImagePath = folders.ImagePath;
    State.SkinDir = folders.SkinDir;
    State.LrcDir = folders.LrcDir;
    State.SkinPath = IncludeTrailingSlash(IncludeTrailingSlash(folders.SkinDir) + "Default");
    State.IniFilePath = IncludeTrailingSlash(folders.IniPath) + "Default.ini";
}

void StartSettings(const std::string& ProgramFile) {
    TProgramFolders folders = GetProgramFolders(ProgramFile);
    UseProgramFolders(folders);
    CreateProgramFolders(folders);
    RemoveStaleSaveTemporaries(folders);
    EnsureIniFile();
    InitCaptureImagePath();
}
