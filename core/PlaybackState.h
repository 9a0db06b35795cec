#pragma once
// The playback state that the player core and the user interface share. It is one object (`State`) so that
// every part of the player sees one value per variable and each test can start from a fresh one
// (`ResetPlaybackState`). Default member values are the values before start-up; start-up assigns the rest.
//
// Only the GUI thread reads or writes it.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/Unknown.h"
#include "platform/forms/Graphics.h"
#include "platform/forms/StringList.h"
#include "platform/media/Interfaces.h"
#include "platform/win32/Types.h"

// Enumerations, stored as 32-bit signed integers in variables and as decimal text in Default.ini.
using TPlayType = int;
namespace PlayTypes {
inline constexpr TPlayType Nothing = 0, MediaFile = 1, Dvd = 2, Pip = 3, Audio = 4;
}

using TRenderType = int;
namespace RenderTypes {
inline constexpr TRenderType OwnRenderer = 1000, Vmr7 = 1007, Vmr9 = 1009;
}

using TSelKernelType = int;
namespace SelKernelTypes {
inline constexpr TSelKernelType Detected = 0, Stored = 1;
}

using TDvdDomain = int;
namespace DvdDomains {
inline constexpr TDvdDomain Unknown = 0, FirstPlay = 1, VideoManagerMenu = 2, TitleSetMenu = 3, Title = 4,
                            Stop = 5;
}

using TPlayMode = int;
namespace PlayModes {
inline constexpr TPlayMode None = 0, Sequential = 1, Random = 2, RepeatOne = 3;
}

using TAfterPlay = int;
namespace AfterPlays {
inline constexpr TAfterPlay Nothing = 0, Exit = 1, PowerOff = 2, Suspend = 3;
}

using TStayOnTop = int;
namespace StayOnTops {
inline constexpr TStayOnTop Never = 0, Always = 1, WhilePlaying = 2;
}

using TVideoScale = int;
namespace VideoScales {
inline constexpr TVideoScale Original = 0, Fill = -1, Ratio4x3 = 1, Ratio5x4 = 2, Ratio16x9 = 4;
}

using TSoundBalance = int;
namespace SoundBalances {
inline constexpr TSoundBalance Stereo = 0, Left = -9999, Right = 9999;
}

using TPipPositionType = int;
namespace PipPositionTypes {
inline constexpr TPipPositionType Preset = 101, Free = 102;
}

using TPipPosition = int;
namespace PipPositions {
inline constexpr TPipPosition TopLeft = 1, TopRight = 2, BottomLeft = 3, BottomRight = 4, Centre = 5;
}

using TReverseType = int;
namespace ReverseTypes {
inline constexpr TReverseType Normal = 0, UpsideDown = 1, Mirrored = 2, Both = 3;
}

using TLanguage = int;
namespace Languages {
inline constexpr TLanguage English = 1, Chinese = 2;
}

using TAutoResumePlay = int;
namespace AutoResumePlays {
inline constexpr TAutoResumePlay AtStoredPosition = 0, FromBeginning = 1, Ask = 2;
}

using TWhileOpenMedia = int;
namespace WhileOpenMedias {
inline constexpr TWhileOpenMedia Smart = 1, VideoFitsWindow = 2, WindowFitsVideo = 3;
}

// An audio-library stream handle.
using HSTREAM = std::uint32_t;

struct TVideoRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TVideoRect&, const TVideoRect&) = default;
};

// One line of the current lyrics: its start and the next line's start (the stream's length for the last),
// in seconds.
struct TLrcLineTime {
    double Start = 0.0;
    double Next = 0.0;
};

struct PlaybackState {
    // Settings and values of the run.
    TLanguage Language = 0;
    TRenderType RenderType = 0;
    bool Vmr9Available = false;
    bool Vmr7Available = false;
    std::string DefDriver;
    TAutoResumePlay AutoResumePlay = 0;
    std::int64_t LastPos = 0;
    TPlayMode PlayMode = 0;
    TStayOnTop StayOnTop = 0;
    TVideoScale VideoScale = 0;
    TAfterPlay AfterPlay = 0;
    TSoundBalance SoundBalance = 0;
    int ClearHistoryExit = 0;
    int SoundLevel = 0;
    int VolumeAttenuation = 0;
    bool isSlience = false;
    TReverseType ReverseType = 0;
    bool DriveCheckPending = false;

    // What is loaded and how it plays.
    TPlayType PlayType = 0;
    std::string CurrentMediaFile;
    std::string pipMediaFileA;
    std::string pipMediaFileB;
    std::string DvdPath;
    // The DVD title the last session played ([PlayControl] LastDvdTitle), where a resume goes on.
    int LastDvdTitle = 1;
    bool IsPlaying = false;
    bool IsPaused = false;
    bool PositionReady = false;
    double PlayRate = 0.0;
    std::int64_t MediaDuration = 0;
    std::int64_t DvdTitleLength = 0;
    double AudioLength = 0.0;
    int AudioSeconds = 0;
    std::string VideoTimeText;
    std::string AudioTimeText;
    int VideoWidth = 0;
    int VideoHeight = 0;
    double FrameRate = 0.0;
    TVideoRect VideoRect;
    TDvdDomain DvdDomain = 0;
    int DvdChapterIndex = 0;
    // The chapter whose button pictures the DVD tick last refreshed; -1 after a DVD open.
    int LastRefreshedChapterIndex = -1;
    win32::POINT DvdMousePoint;
    int PipMainStream = 0;
    int PipSmallStream = 0;
    bool PipDragging = false;
    // Picture-in-picture: each file's video size (never below 550 x 350) and frame rate, measured at the open.
    int PipWidthA = 0;
    int PipHeightA = 0;
    double PipFrameRateA = 0.0;
    int PipWidthB = 0;
    int PipHeightB = 0;
    double PipFrameRateB = 0.0;
    // A drag of the small picture: the press, then the last move, in video-panel pixels; the picture's width
    // and height at the press (normalized, negative when flipped); the region the press hit, which the drag
    // keeps however fast the mouse goes (0 none, else the row of the hit test), and the orientation the picture
    // was seen in at the press (an edge dragged across the other one goes on moving the same edge).
    int PipDragX = 0;
    int PipDragY = 0;
    float PipDragWidth = 0.0f;
    float PipDragHeight = 0.0f;
    int PipDragRegion = 0;
    TReverseType PipDragReverseType = 0;
    HSTREAM BassStream = 0;

    // Media-graph interfaces: assigned only by the open routines, released together by ReleaseGraphInterfaces.
    com::ComPtr<dshow::IGraphBuilder> GraphBuilder;
    com::ComPtr<dshow::IMediaSeeking> MediaSeeking;
    com::ComPtr<dshow::IMediaControl> MediaControl;
    com::ComPtr<dshow::IMediaEventEx> MediaEventEx;
    com::ComPtr<dshow::IBasicAudio> BasicAudio;
    com::ComPtr<dshow::IVideoWindow> VideoWindow;
    com::ComPtr<dshow::IVideoFrameStep> VideoFrameStep;
    com::ComPtr<dshow::IMediaDet> MediaDet;
    com::ComPtr<dshow::IBaseFilter> SampleGrabberFilter;
    com::ComPtr<dshow::ISampleGrabber> SampleGrabber;
    com::ComPtr<dshow::IDvdControl> DvdControl;
    com::ComPtr<dshow::IDvdInfo> DvdInfo;
    com::ComPtr<dshow::IDvdControl2> DvdControl2;
    com::ComPtr<dshow::IDvdInfo2> DvdInfo2;
    com::ComPtr<dshow::IBaseFilter> Vmr9Filter;
    com::ComPtr<dshow::IVMRFilterConfig9> Vmr9FilterConfig;
    com::ComPtr<dshow::IVMRWindowlessControl9> Vmr9WindowlessControl;
    com::ComPtr<dshow::IVMRMixerControl9> Vmr9MixerControl;
    com::ComPtr<dshow::IBaseFilter> Vmr7Filter;
    com::ComPtr<dshow::IVMRFilterConfig> Vmr7FilterConfig;
    com::ComPtr<dshow::IVMRWindowlessControl> Vmr7WindowlessControl;
    com::ComPtr<dshow::IVMRMixerControl> Vmr7MixerControl;

    // Shared lists: created by the main window at start and freed at close; everyone else changes contents only.
    std::unique_ptr<forms::TStringList> History;
    std::unique_ptr<forms::TStringList> DriveList;
    std::unique_ptr<forms::TStringList> SavedCaptureFiles;
    std::unique_ptr<forms::TStringList> DvdChapterList;
    std::unique_ptr<forms::TStringList> IfoFolderList;
    std::unique_ptr<forms::TStringList> VobFolderList;
    std::unique_ptr<forms::TStringList> DvdFolderList;
    std::unique_ptr<forms::TStringList> PlayListFiles;
    std::unique_ptr<forms::TStringList> PlayListLines;
    std::unique_ptr<forms::TStringList> PlayListPositions;
    std::unique_ptr<forms::TStringList> LrcTimes;
    std::unique_ptr<forms::TStringList> LrcTexts;
    std::unique_ptr<forms::TStringList> LrcOffsets;
    std::vector<TLrcLineTime> LrcLineTimes;
    int PlayListIndex = 0;
    // The selected row of the play-list window and the selected thumbnail of the capture-list window.
    int SelectedPlayListRow = -1;
    int SelectedCaptureIndex = -1;

    // Folders and files, set once at start.
    std::string AppPath;
    std::string TempPath;
    std::string ProjectPath;
    std::string IniPath;
    std::string ImagePath;
    std::string SkinDir;
    std::string LrcDir;
    std::string SkinPath;
    std::string IniFilePath;
    std::string LrcFileName;
    std::string CaptureFileName;
    std::string SelectedListText;

    // Windows.
    win32::HWND MainWindowHandle = nullptr;
    win32::HWND VideoPanelHandle = nullptr;
    win32::HWND PlayListWindowHandle = nullptr;
    win32::HWND CaptureWindowHandle = nullptr;
    bool PlayListVisible = false;
    bool CaptureListVisible = false;
    // The boss key's hot-key id: one fixed value for its registration, the test of a key, unregistration and
    // the hot-key message.
    int BossKeyId = 1;
    // The boss key has hidden the player's windows: which ones (with the show command each had), and whether
    // something was playing then, at which rate.
    bool BossKeyHidden = false;
    std::vector<std::pair<win32::HWND, int>> BossKeyWindows;
    bool BossKeyWasPlaying = false;
    double BossKeyRate = 1.0;
    win32::COLORREF DarkGreyColor = 0;
    win32::COLORREF LightGreyColor = 0;
    win32::COLORREF SelectedPanelColor = 0;
    // The dialogs' font and that of controls built at run time; created at start, freed at close.
    std::unique_ptr<forms::TFont> UiFont;
};

// The one shared playback state of the process.
extern PlaybackState State;

// Puts the shared state back to its values before start-up.
void ResetPlaybackState();

// The play-list entry at PlayListIndex, or nullptr when there is no play list or the index lies outside it
// (the index starts at 0 with an empty list, and is -1 when the current file is not in the list).
const std::string* CurrentPlayListFile();
// The resume position text of that entry, or nullptr likewise.
const std::string* CurrentPlayListPosition();
