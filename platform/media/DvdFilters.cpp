#include "platform/media/DvdFilters.h"

#include <algorithm>

#include "platform/win32/Drives.h"
#include "platform/win32/Locale.h"

namespace dshow {

using com::E_INVALIDARG;
using com::E_POINTER;
using com::E_UNEXPECTED;
using com::S_OK;

namespace {

constexpr std::int64_t TicksPerSecond = 90000;

HRESULT Result(bool Done) {
    return Done ? S_OK : VFW_E_DVD_OPERATION_INHIBITED;
}

void NoCommand(IDvdCmd** Cmd) {
    if (Cmd != nullptr)
        *Cmd = nullptr;
}

DVD_HMSF_TIMECODE TimeCodeOf(std::int64_t Ticks, int FrameRate) {
    Ticks = std::max<std::int64_t>(Ticks, 0);
    const std::int64_t seconds = Ticks / TicksPerSecond;
    DVD_HMSF_TIMECODE time;
    time.bHours = static_cast<std::uint8_t>(std::min<std::int64_t>(seconds / 3600, 255));
    time.bMinutes = static_cast<std::uint8_t>(seconds / 60 % 60);
    time.bSeconds = static_cast<std::uint8_t>(seconds % 60);
    time.bFrames = static_cast<std::uint8_t>(Ticks % TicksPerSecond * FrameRate / TicksPerSecond);
    return time;
}

ULONG TimeCodeFlags(int FrameRate) {
    return FrameRate == 25 ? DVD_TC_FLAG_25fps : DVD_TC_FLAG_30fps;
}

DVD_VideoAttributes VideoAttributesOf(const DvdVideoFacts& Video) {
    DVD_VideoAttributes attributes;
    attributes.ulFrameRate = static_cast<ULONG>(Video.FrameRate * 2);
    attributes.ulAspectX = static_cast<ULONG>(Video.AspectX);
    attributes.ulAspectY = static_cast<ULONG>(Video.AspectY);
    attributes.ulFrameHeight = static_cast<ULONG>(Video.FrameRate == 25 ? 576 : 480);
    attributes.ulSourceResolutionX = static_cast<ULONG>(Video.Width);
    attributes.ulSourceResolutionY = static_cast<ULONG>(Video.Height);
    return attributes;
}

HRESULT LanguageOf(const std::vector<std::string>& Languages, ULONG Stream, LCID* Language) {
    if (Language == nullptr)
        return E_POINTER;
    if (Stream >= Languages.size())
        return E_INVALIDARG;
    *Language = win32::LcidFromLanguageCode(Languages[Stream]);
    return S_OK;
}

// The number of streams of a kind (audio, angle) and the current one, as Query on the navigator gives them.
HRESULT CountAndCurrent(const std::shared_ptr<DvdNavigator>& Navigator,
                        bool (DvdNavigator::*Query)(int&, int&) const, ULONG* Available, ULONG* Current) {
    if (Available == nullptr || Current == nullptr)
        return E_POINTER;
    if (!Navigator)
        return E_UNEXPECTED;
    int count = 0, current = 0;
    if (!((*Navigator).*Query)(count, current))
        return VFW_E_DVD_INVALIDDOMAIN;
    *Available = static_cast<ULONG>(count);
    *Current = static_cast<ULONG>(current);
    return S_OK;
}

} // namespace

std::shared_ptr<DvdNavigator> DvdNavigatorFilter::Navigator() const {
    std::lock_guard lock(mutex_);
    return navigator_;
}

std::vector<PinShape> DvdNavigatorFilter::Pins() const {
    return {{u"Video", PINDIR_OUTPUT, {StreamKind::MpegVideo}},
            {u"AC3", PINDIR_OUTPUT, {StreamKind::DvdAudio}},
            {u"SubPicture", PINDIR_OUTPUT, {StreamKind::DvdSubpicture}}};
}

void DvdNavigatorFilter::SetPointMapper(PointMapper Mapper) {
    std::lock_guard lock(mutex_);
    mapper_ = std::move(Mapper);
}

// A drive's disc is read through what the drive service names for it; a folder as it is.
HRESULT DvdNavigatorFilter::SetDVDDirectory(LPCWSTR Path) {
    if (Path == nullptr)
        return E_POINTER;
    std::string path = com::NarrowString(Path);
    if (win32::GetDriveTypeA(path) == win32::DRIVE_CDROM)
        path = win32::GetDriveService().DiscSource(path);
    std::shared_ptr<DvdNavigator> navigator = DvdNavigator::Open(path);
    if (!navigator)
        return VFW_E_DVD_INVALID_DISC;
    std::lock_guard lock(mutex_);
    navigator_ = std::move(navigator);
    return S_OK;
}

HRESULT DvdNavigatorFilter::PlayTitle(ULONG Title, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->PlayTitle(static_cast<int>(Title))) : E_UNEXPECTED;
}

HRESULT DvdNavigatorFilter::PlayChapterInTitle(ULONG Title, ULONG Chapter, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->PlayChapter(static_cast<int>(Title), static_cast<int>(Chapter)))
                     : E_UNEXPECTED;
}

HRESULT DvdNavigatorFilter::PlayAtTime(DVD_HMSF_TIMECODE* Time, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    if (Time == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    const DvdScreen screen = navigator->Screen();
    const int fps = navigator->StreamsOf(DvdScreen::Domain::Title, screen.TitleSet).Video.FrameRate;
    const std::int64_t seconds = Time->bHours * 3600 + Time->bMinutes * 60 + Time->bSeconds;
    const std::int64_t ticks = seconds * TicksPerSecond + Time->bFrames * TicksPerSecond / std::max(fps, 1);
    return Result(navigator->PlayAtTime(ticks));
}

HRESULT DvdNavigatorFilter::PlayNextChapter(DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->PlayNextChapter()) : E_UNEXPECTED;
}

HRESULT DvdNavigatorFilter::PlayPrevChapter(DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->PlayPreviousChapter()) : E_UNEXPECTED;
}

HRESULT DvdNavigatorFilter::ShowMenu(DVD_MENU_ID Menu, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->ShowMenu(Menu)) : E_UNEXPECTED;
}

HRESULT DvdNavigatorFilter::SelectButton(ULONG Button) {
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    if (Button < 1 || Button > 36)
        return E_INVALIDARG;
    return navigator->SelectButton(static_cast<int>(Button)) ? S_OK : VFW_E_DVD_NO_BUTTON;
}

HRESULT DvdNavigatorFilter::ActivateButton() {
    auto navigator = Navigator();
    return navigator ? Result(navigator->ActivateButton()) : E_UNEXPECTED;
}

int DvdNavigatorFilter::ButtonAt(win32::POINT Point) const {
    std::shared_ptr<DvdNavigator> navigator;
    PointMapper mapper;
    {
        std::lock_guard lock(mutex_);
        navigator = navigator_;
        mapper = mapper_;
    }
    if (!navigator)
        return 0;
    int x = Point.x, y = Point.y;
    if (mapper && !mapper(Point, x, y))
        return 0;
    return navigator->ButtonAt(x, y);
}

HRESULT DvdNavigatorFilter::SelectAtPosition(win32::POINT Point) {
    const int button = ButtonAt(Point);
    return button > 0 ? SelectButton(static_cast<ULONG>(button)) : VFW_E_DVD_NO_BUTTON;
}

HRESULT DvdNavigatorFilter::ActivateAtPosition(win32::POINT Point) {
    const int button = ButtonAt(Point);
    if (button == 0)
        return VFW_E_DVD_NO_BUTTON;
    const HRESULT selected = SelectButton(static_cast<ULONG>(button));
    return com::FAILED(selected) ? selected : ActivateButton();
}

HRESULT DvdNavigatorFilter::PlayForwards(double Speed, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    if (!(Speed > 0.0))
        return E_INVALIDARG;
    return Result(navigator->SetRate(Speed));
}

HRESULT DvdNavigatorFilter::SelectAudioStream(ULONG Stream, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->SelectAudio(static_cast<int>(Stream))) : E_UNEXPECTED;
}

HRESULT DvdNavigatorFilter::SelectSubpictureStream(ULONG Stream, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->SelectSubpicture(static_cast<int>(Stream))) : E_UNEXPECTED;
}

HRESULT DvdNavigatorFilter::SetSubpictureState(BOOL On, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->ShowSubpicture(On != 0)) : E_UNEXPECTED;
}

// The language is a preference for the titles to come; the disc's own choice of stream stays.
HRESULT DvdNavigatorFilter::SelectDefaultSubpictureLanguage(LCID Language, DVD_SUBPICTURE_LANG_EXT) {
    return win32::LanguageCodeOfLcid(Language).empty() ? E_INVALIDARG : S_OK;
}

HRESULT DvdNavigatorFilter::SelectAngle(ULONG Angle, DWORD, IDvdCmd** Cmd) {
    NoCommand(Cmd);
    auto navigator = Navigator();
    return navigator ? Result(navigator->SelectAngle(static_cast<int>(Angle))) : E_UNEXPECTED;
}

HRESULT DvdNavigatorFilter::GetCurrentDomain(DVD_DOMAIN* Domain) {
    if (Domain == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    *Domain = static_cast<DVD_DOMAIN>(navigator->Screen().domain);
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetCurrentLocation(DVD_PLAYBACK_LOCATION2* Location) {
    if (Location == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    const DvdScreen screen = navigator->Screen();
    if (screen.domain == DvdScreen::Domain::FirstPlay || screen.domain == DvdScreen::Domain::Stop)
        return VFW_E_DVD_INVALIDDOMAIN;
    const int fps = navigator->StreamsOf(screen.domain, screen.TitleSet).Video.FrameRate;
    Location->TitleNum = static_cast<ULONG>(screen.Title);
    Location->ChapterNum = static_cast<ULONG>(screen.Chapter);
    Location->TimeCode = TimeCodeOf(screen.Time, fps);
    Location->TimeCodeFlags = TimeCodeFlags(fps);
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetTotalTitleTime(DVD_HMSF_TIMECODE* Time, ULONG* Flags) {
    if (Time == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    const DvdScreen screen = navigator->Screen();
    const DvdTitleFacts* title = navigator->Title(screen.Title);
    if (screen.domain != DvdScreen::Domain::Title || title == nullptr)
        return VFW_E_DVD_INVALIDDOMAIN;
    const int fps = navigator->StreamsOf(screen.domain, screen.TitleSet).Video.FrameRate;
    *Time = TimeCodeOf(title->Length, fps);
    if (Flags != nullptr)
        *Flags = TimeCodeFlags(fps);
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetCurrentButton(ULONG* Available, ULONG* Current) {
    if (Available == nullptr || Current == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    const DvdScreen screen = navigator->Screen();
    if (screen.Buttons == 0)
        return VFW_E_DVD_NO_BUTTON;
    *Available = static_cast<ULONG>(screen.Buttons);
    *Current = static_cast<ULONG>(screen.Highlighted);
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetButtonAtPosition(win32::POINT Point, ULONG* Button) {
    if (Button == nullptr)
        return E_POINTER;
    if (!Navigator())
        return E_UNEXPECTED;
    const int button = ButtonAt(Point);
    if (button == 0)
        return VFW_E_DVD_NO_BUTTON;
    *Button = static_cast<ULONG>(button);
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetNumberOfChapters(ULONG Title, ULONG* Chapters) {
    if (Chapters == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    const DvdTitleFacts* title = navigator->Title(static_cast<int>(Title));
    if (title == nullptr)
        return E_INVALIDARG;
    *Chapters = static_cast<ULONG>(title->Chapters);
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetDVDVolumeInfo(ULONG* Volumes, ULONG* Volume, DVD_DISC_SIDE* Side,
                                             ULONG* Titles) {
    if (Volumes == nullptr || Volume == nullptr || Side == nullptr || Titles == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    *Volumes = 1;
    *Volume = 1;
    *Side = DVD_SIDE_A;
    *Titles = static_cast<ULONG>(navigator->Titles());
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetTitleAttributes(ULONG Title, DVD_MenuAttributes* Menu,
                                               DVD_TitleAttributes* Attributes) {
    if (Menu == nullptr || Attributes == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    int number = static_cast<int>(Title);
    if (Title == 0xFFFFFFFFu)
        number = navigator->Screen().Title;
    const DvdTitleFacts* title = navigator->Title(number);
    if (title == nullptr)
        return E_INVALIDARG;
    const DvdStreamFacts& set = navigator->StreamsOf(DvdScreen::Domain::Title, title->TitleSet);
    const DvdStreamFacts& menus = navigator->StreamsOf(DvdScreen::Domain::TitleSetMenu, title->TitleSet);
    Attributes->VideoAttributes = VideoAttributesOf(set.Video);
    Attributes->ulNumberOfAudioStreams = static_cast<ULONG>(set.AudioLanguages.size());
    Attributes->ulNumberOfSubpictureStreams = static_cast<ULONG>(set.SubpictureLanguages.size());
    Menu->VideoAttributes = VideoAttributesOf(menus.Video);
    Menu->ulNumberOfAudioStreams = static_cast<ULONG>(menus.AudioLanguages.size());
    Menu->ulNumberOfSubpictureStreams = static_cast<ULONG>(menus.SubpictureLanguages.size());
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetCurrentAudio(ULONG* Available, ULONG* Current) {
    return CountAndCurrent(Navigator(), &DvdNavigator::Audio, Available, Current);
}

HRESULT DvdNavigatorFilter::GetAudioLanguage(ULONG Stream, LCID* Language) {
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    const DvdScreen screen = navigator->Screen();
    return LanguageOf(navigator->StreamsOf(screen.domain, screen.TitleSet).AudioLanguages, Stream, Language);
}

HRESULT DvdNavigatorFilter::GetCurrentSubpicture(ULONG* Available, ULONG* Current, BOOL* Disabled) {
    if (Available == nullptr || Current == nullptr || Disabled == nullptr)
        return E_POINTER;
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    int count = 0, current = 0;
    bool shown = false;
    if (!navigator->Subpicture(count, current, shown))
        return VFW_E_DVD_INVALIDDOMAIN;
    *Available = static_cast<ULONG>(count);
    *Current = static_cast<ULONG>(current);
    *Disabled = shown ? 0 : 1;
    return S_OK;
}

HRESULT DvdNavigatorFilter::GetSubpictureLanguage(ULONG Stream, LCID* Language) {
    auto navigator = Navigator();
    if (!navigator)
        return E_UNEXPECTED;
    const DvdScreen screen = navigator->Screen();
    return LanguageOf(navigator->StreamsOf(screen.domain, screen.TitleSet).SubpictureLanguages, Stream,
                      Language);
}

HRESULT DvdNavigatorFilter::GetCurrentAngle(ULONG* Available, ULONG* Current) {
    return CountAndCurrent(Navigator(), &DvdNavigator::Angle, Available, Current);
}

HRESULT SampleGrabberFilter::SetMediaType(const AM_MEDIA_TYPE* Type) {
    if (Type == nullptr)
        return E_POINTER;
    type_ = *Type;
    return S_OK;
}

HRESULT SampleGrabberFilter::SetBufferSamples(BOOL Buffer) {
    buffer_ = Buffer != 0;
    return S_OK;
}

} // namespace dshow
