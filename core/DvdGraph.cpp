#include "core/DvdGraph.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/shared/PathEndings.h"
#include "core/Transport.h"
#include "platform/com/Guids.h"
#include "platform/win32/Drives.h"
#include "platform/win32/Window.h"

using namespace dshow;

namespace {

constexpr win32::UINT WM_GRAPHNOTIFY = win32::WM_USER + 3;
constexpr int MinimumVideoWidth = 550, MinimumVideoHeight = 350;
// Deeper than any disc folder a user keeps; a search from "/" ends at it.
constexpr int FolderDepthLimit = 32;

template <class T> com::ComPtr<T> CreateObject(const com::CLSID& Clsid, win32::DWORD Context) {
    void* raw = nullptr;
    if (com::FAILED(com::CoCreateInstance(Clsid, nullptr, Context, T::Iid, &raw)))
        return nullptr;
    return com::ComPtr<T>::Adopt(static_cast<T*>(raw));
}

std::string Lower(std::string Text) {
    std::transform(Text.begin(), Text.end(), Text.begin(), [](unsigned char c) { return std::tolower(c); });
    return Text;
}

// A pin of Filter picked by its name (without regard to case) or by its direction; when several qualify,
// the last one enumerated. Neither given: any pin (the last).
com::ComPtr<IPin> FindPin(IBaseFilter* Filter, const char* Name, std::optional<PIN_DIRECTION> Direction) {
    com::ComPtr<IPin> found;
    if (Filter == nullptr)
        return found;
    IEnumPins* rawPins = nullptr;
    if (com::FAILED(Filter->EnumPins(&rawPins)))
        return found;
    auto pins = com::ComPtr<IEnumPins>::Adopt(rawPins);
    pins->Reset();
    IPin* raw = nullptr;
    while (pins->Next(1, &raw, nullptr) == com::S_OK) {
        auto pin = com::ComPtr<IPin>::Adopt(raw);
        if (Name != nullptr) {
            PIN_INFO info;
            if (com::FAILED(pin->QueryPinInfo(&info)))
                continue;
            if (info.pFilter != nullptr)
                info.pFilter->Release();
            if (Lower(com::NarrowString(info.achName)) == Lower(Name))
                found = pin;
        } else if (Direction) {
            PIN_DIRECTION direction = PINDIR_INPUT;
            if (com::SUCCEEDED(pin->QueryDirection(&direction)) && direction == *Direction)
                found = pin;
        } else {
            found = pin;
        }
    }
    return found;
}

com::ComPtr<IPin> Named(const com::ComPtr<IBaseFilter>& Filter, const char* Name) {
    return FindPin(Filter.Get(), Name, std::nullopt);
}
com::ComPtr<IPin> Input(const com::ComPtr<IBaseFilter>& Filter) {
    return FindPin(Filter.Get(), nullptr, PINDIR_INPUT);
}
com::ComPtr<IPin> Output(const com::ComPtr<IBaseFilter>& Filter) {
    return FindPin(Filter.Get(), nullptr, PINDIR_OUTPUT);
}

com::HRESULT Connect(const com::ComPtr<IPin>& Out, const com::ComPtr<IPin>& In) {
    if (!Out || !In)
        return VFW_E_NOT_CONNECTED;
    return State.GraphBuilder->Connect(Out.Get(), In.Get());
}

// The open failed: what was built goes, the state stays as it was.
bool FailOpen() {
    ReleaseGraphInterfaces();
    return false;
}

// A decimal number, blanks around it allowed; nothing for anything else (or one out of range).
std::optional<int> Decimal(std::string Text) {
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!Text.empty() && blank(static_cast<unsigned char>(Text.back())))
        Text.pop_back();
    std::size_t start = 0;
    while (start < Text.size() && blank(static_cast<unsigned char>(Text[start])))
        ++start;
    Text.erase(0, start);
    if (Text.empty() || Text.size() > 9 ||
        !std::all_of(Text.begin(), Text.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return std::nullopt;
    return std::stoi(Text);
}

bool HasExactly(const forms::TStringList& List, const std::string& Entry) {
    return std::find(List.begin(), List.end(), Entry) != List.end();
}

void AddIfMissing(forms::TStringList& List, const std::string& Entry) {
    if (!HasExactly(List, Entry))
        List.Add(Entry);
}

// The extension of a name from its last "."; "" when it has none.
std::string ExtensionOf(const std::string& Name) {
    const std::size_t dot = Name.rfind('.');
    return dot == std::string::npos ? std::string() : Lower(Name.substr(dot));
}

void NoteDiscFile(const std::string& Dir, const std::string& Name) {
    const std::string extension = ExtensionOf(Name);
    if (extension == ".ifo") {
        AddIfMissing(*State.IfoFolderList, Dir);
        if (HasExactly(*State.VobFolderList, Dir))
            AddIfMissing(*State.DvdFolderList, Dir);
    } else if (extension == ".vob") {
        AddIfMissing(*State.VobFolderList, Dir);
        if (HasExactly(*State.IfoFolderList, Dir))
            AddIfMissing(*State.DvdFolderList, Dir);
    }
}

} // namespace

bool OpenDvd(const std::string& Path) {
    // 1. The navigator, a graph and the sample grabber; all three are made before any is looked at.
    State.GraphBuilder = nullptr;
    State.SampleGrabberFilter = nullptr;
    const win32::DWORD inProcess = com::CLSCTX_INPROC_SERVER | com::CLSCTX_INPROC_HANDLER;
    com::ComPtr<IBaseFilter> navigator = CreateObject<IBaseFilter>(com::CLSID_DVDNavigator, inProcess);
    State.GraphBuilder = CreateObject<IGraphBuilder>(com::CLSID_FilterGraph, inProcess);
    State.SampleGrabberFilter =
        CreateObject<IBaseFilter>(com::CLSID_SampleGrabber, com::CLSCTX_INPROC_SERVER);
    if (!navigator || !State.GraphBuilder || !State.SampleGrabberFilter)
        return FailOpen();
    // 2. to 4.
    State.GraphBuilder->AddFilter(navigator.Get(), u"DVD Navigator");
    State.GraphBuilder->AddFilter(State.SampleGrabberFilter.Get(), u"SampleGrabber");
    State.SampleGrabber = com::QueryInterfaceOf<ISampleGrabber>(State.SampleGrabberFilter.Get());
    ConfigureSampleGrabber();
    State.DvdInfo2 = com::QueryInterfaceOf<IDvdInfo2>(navigator.Get());
    State.DvdControl2 = com::QueryInterfaceOf<IDvdControl2>(navigator.Get());
    // 5. A path that holds no disc that plays fails the open.
    if (!State.DvdControl2 || com::FAILED(State.DvdControl2->SetDVDDirectory(com::WideString(Path).c_str())))
        return FailOpen();
    // 6.
    com::ComPtr<IBaseFilter> audioOutput, videoRenderer, overlay, audioDecoder, ac3, rgb, line21,
        videoDecoder;
    IGraphBuilder* graph = State.GraphBuilder.Get();
    AddFilterByClsid(graph, com::CLSID_DSoundRender, u"Default Sound Renderer", audioOutput);
    AddFilterByClsid(graph, com::CLSID_VideoRenderer, u"Video Renderer", videoRenderer);
    AddFilterByClsid(graph, com::CLSID_OverlayMixer, u"Overlay Mixer", overlay);
    AddFilterByClsid(graph, com::CLSID_MpegAudioDecoder, u"MPA Decoder Filter", audioDecoder);
    AddFilterByClsid(graph, com::CLSID_AC3Filter, u"AC3filter", ac3);
    AddFilterByClsid(graph, com::CLSID_RgbConverter, u"LEAD Video RGB Converter", rgb);
    AddFilterByClsid(graph, com::CLSID_Line21Decoder, u"Line21 Decode", line21);
    AddFilterByClsid(graph, com::CLSID_MpegVideoDecoder, u"MPV Decoder Filter", videoDecoder);
    State.MediaEventEx = com::QueryInterfaceOf<IMediaEventEx>(graph);
    State.MediaControl = com::QueryInterfaceOf<IMediaControl>(graph);
    State.MediaSeeking = com::QueryInterfaceOf<IMediaSeeking>(graph);
    State.BasicAudio = com::QueryInterfaceOf<IBasicAudio>(graph);
    State.VideoFrameStep = com::QueryInterfaceOf<IVideoFrameStep>(graph);
    State.VideoWindow = com::QueryInterfaceOf<IVideoWindow>(graph);
    // 7. Audio, picture and subpictures, closed captions, then the picture to the screen: the last
    // connection completes the picture's way and builds the graph, and a graph whose picture does not reach
    // the screen fails the open.
    Connect(Named(navigator, "AC3"), Input(audioDecoder));
    Connect(Output(audioDecoder), Input(ac3));
    Connect(Output(ac3), Input(audioOutput));
    Connect(Named(navigator, "Video"), Named(videoDecoder, "Video"));
    Connect(Named(navigator, "SubPicture"), Named(videoDecoder, "SubPicture"));
    Connect(Named(videoDecoder, "Output"), Input(overlay));
    Connect(Named(videoDecoder, "~CC"), Input(line21));
    Connect(Output(line21), Input(State.SampleGrabberFilter));
    Connect(Output(State.SampleGrabberFilter), Input(rgb));
    Connect(Output(rgb), Named(overlay, "Input2"));
    if (com::FAILED(Connect(Output(overlay), FindPin(videoRenderer.Get(), nullptr, std::nullopt))))
        return FailOpen();
    // 8. and 9.
    if (State.MediaEventEx)
        State.MediaEventEx->SetNotifyWindow(State.VideoPanelHandle, static_cast<win32::LONG>(WM_GRAPHNOTIFY),
                                            0);
    if (State.VideoWindow) {
        State.VideoWindow->put_Owner(State.VideoPanelHandle);
        State.VideoWindow->put_MessageDrain(State.VideoPanelHandle);
        State.VideoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS);
    }
    // 10. and 11.
    BuildChapterList(*State.DvdChapterList);
    InitAspectTable();
    MaximizeIfVideoTooLarge();
    // 12. The system's wave-output volume is left alone: setting it here would silence the right channel.
    // 13. to 15.
    if (State.BasicAudio) {
        State.BasicAudio->put_Volume(State.isSlience ? -10000 : State.VolumeAttenuation);
        State.BasicAudio->put_Balance(State.SoundBalance);
    }
    PlaceVideo(PlayTypes::Dvd);
    if (!State.MediaControl || com::FAILED(State.MediaControl->Run()))
        return FailOpen();
    // 16.
    State.PlayType = PlayTypes::Dvd;
    State.IsPlaying = true;
    State.IsPaused = false;
    return true;
}

void ConfigureSampleGrabber() {
    if (!State.SampleGrabber)
        return;
    AM_MEDIA_TYPE type;
    type.majortype = com::MEDIATYPE_Video;
    type.subtype = com::MEDIASUBTYPE_RGB32;
    type.formattype = com::FORMAT_VideoInfo;
    State.SampleGrabber->SetMediaType(&type);
    State.SampleGrabber->SetBufferSamples(win32::TRUE);
}

bool BuildChapterList(forms::TStringList& List) {
    if (!State.DvdInfo2)
        return false;
    State.VideoWidth = std::max(State.VideoWidth, MinimumVideoWidth);
    State.VideoHeight = std::max(State.VideoHeight, MinimumVideoHeight);
    DVD_MenuAttributes menu;
    DVD_TitleAttributes title;
    if (com::SUCCEEDED(State.DvdInfo2->GetTitleAttributes(1, &menu, &title))) {
        const DVD_VideoAttributes& video = title.VideoAttributes;
        State.VideoWidth = std::max(static_cast<int>(video.ulSourceResolutionX), MinimumVideoWidth);
        State.VideoHeight = std::max(static_cast<int>(video.ulSourceResolutionY), MinimumVideoHeight);
        // The display scale "original" shows the picture in its own shape, not that of the last file.
        if (video.ulAspectX > 0 && video.ulAspectY > 0 && video.ulSourceResolutionY > 0)
            SetNativeVideoSize(
                static_cast<int>(video.ulSourceResolutionY * video.ulAspectX / video.ulAspectY),
                static_cast<int>(video.ulSourceResolutionY));
    }
    ULONG volumes = 0, volume = 0, titles = 0;
    DVD_DISC_SIDE side = DVD_SIDE_A;
    // A disc whose volume cannot be read has no chapters to show: never those of the disc before it.
    List.Clear();
    List.Add("DVD");
    if (com::FAILED(State.DvdInfo2->GetDVDVolumeInfo(&volumes, &volume, &side, &titles)))
        return true;
    for (ULONG t = 1; t <= titles; ++t) {
        ULONG chapters = 0;
        if (com::FAILED(State.DvdInfo2->GetNumberOfChapters(t, &chapters)))
            return false;
        for (ULONG c = 1; c <= chapters; ++c)
            List.Add(ChapterEntry(t, c));
    }
    return true;
}

int CurrentChapterIndex() {
    if (!State.DvdInfo2 || !State.DvdChapterList)
        return -1;
    DVD_PLAYBACK_LOCATION2 location;
    if (com::FAILED(State.DvdInfo2->GetCurrentLocation(&location)))
        return -1;
    return State.DvdChapterList->IndexOf(ChapterEntry(location.TitleNum, location.ChapterNum));
}

std::string ChapterEntry(long long Title, long long Chapter) {
    return "Chapter" + std::to_string(Chapter) + "(" + std::to_string(Title) + "-" + std::to_string(Chapter) +
           ")";
}

void ParseChapterText(const std::string& Text, int& Title, int& Chapter) {
    Title = 0;
    Chapter = 0;
    const std::size_t open = Text.find('(');
    if (open == std::string::npos)
        return;
    std::string inner = Text.substr(open + 1);
    inner = inner.substr(0, inner.find(')'));
    const std::size_t dash = inner.find('-');
    if (dash == std::string::npos)
        return;
    const std::optional<int> title = Decimal(inner.substr(0, dash));
    const std::optional<int> chapter = Decimal(inner.substr(dash + 1));
    if (!title || !chapter)
        return;
    Title = *title;
    Chapter = *chapter;
}

// Depth first, in the order of the names, as a recursive search would go; each folder is searched as it
// is reached. Links are followed to what they name (a disc folder reached through a link, disc files that
// are links); a folder met twice (through a link or a bind mount) is searched once, so a link loop ends.
void FindDvdFolders(const std::string& Dir) {
    namespace fs = std::filesystem;
    struct Level {
        std::string dir;
        std::vector<fs::directory_entry> entries;
        std::size_t next = 0;
    };
    std::set<std::pair<dev_t, ino_t>> visited;
    const auto open = [&](const std::string& Folder) -> std::optional<Level> {
        struct stat info {};
        if (::stat(Folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            !visited.insert({info.st_dev, info.st_ino}).second)
            return std::nullopt;
        Level level{IncludeTrailingSlash(Folder), {}, 0};
        std::error_code ec;
        for (fs::directory_iterator it(Folder, ec), end; !ec && it != end; it.increment(ec))
            level.entries.push_back(*it);
        std::sort(level.entries.begin(), level.entries.end(),
                  [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
        return level;
    };
    std::vector<Level> stack;
    if (auto first = open(Dir))
        stack.push_back(std::move(*first));
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next >= level.entries.size()) {
            stack.pop_back();
            continue;
        }
        const fs::directory_entry& entry = level.entries[level.next++];
        const std::string name = entry.path().filename().string();
        std::error_code ec;
        if (entry.is_directory(ec)) {
            if (static_cast<int>(stack.size()) < FolderDepthLimit)
                if (auto sub = open(level.dir + name))
                    stack.push_back(std::move(*sub));
            continue;
        }
        // A link that names nothing is no disc file.
        if (entry.is_regular_file(ec))
            NoteDiscFile(level.dir, name);
    }
}

bool ListCdDrives(forms::TStringList& List) {
    List.Clear();
    bool readable = false;
    for (const std::string& root : win32::GetDriveService().OpticalDrives()) {
        if (win32::GetDriveTypeA(root) != win32::DRIVE_CDROM)
            continue;
        std::string label;
        if (win32::GetVolumeInformationA(root, &label)) {
            List.Add(root + " " + label);
            readable = true;
        } else {
            List.Add(root);
        }
    }
    return readable;
}

bool IsDvdDriveReady(const std::string& Root) {
    return win32::GetDriveTypeA(Root) == win32::DRIVE_CDROM && win32::GetVolumeInformationA(Root, nullptr);
}

bool IsDvdDrivePath(const std::string& Path) {
    return !Path.empty() && DvdDriveRootOf(Path) == Path;
}

std::string DvdDriveRootOf(const std::string& Text) {
    return win32::DriveRootOf(Text);
}
