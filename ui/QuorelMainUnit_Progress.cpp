// The progress ticks of the main window. Nothing tells the player what the media graph, the DVD navigator or
// the audio library are doing: Ctrl_T asks, moves the position knob, writes the time text, keeps the resume
// position and finds the end of the medium, where the play mode goes on or the player stops and runs the
// after-play action. Also the mouse handling of the position and volume strips.
//
// A tick runs every 10 to 30 ms: in steady state it reads no file and allocates nothing (the time text is
// built in a kept buffer and reaches the label only when it changes).

#include "ui/QuorelMainUnit_Progress.h"
#include "ui/QuorelMainUnit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/AudioPlayback.h"
#include "core/DvdGraph.h"
#include "core/DvdNavigation.h"
#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
#include "core/PlayListSteps.h"
#include "core/Seeking.h"
#include "core/Transport.h"
#include "core/WindowMessages.h"
#include "platform/audio/Bass.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/ScreenSaver.h"
#include "platform/win32/Window.h"

using namespace forms;

// --- The knob arithmetic. ---

namespace {

int SpanOf(const TControl* Track, const TControl* Knob) {
    return Track->Width() - Knob->Width();
}

} // namespace

int KnobOffsetFor(std::int64_t Position, std::int64_t Length, int Span) {
    if (Length <= 0 || Span <= 0)
        return 0;
    const std::int64_t position = std::clamp<std::int64_t>(Position, 0, Length);
    // Long double holds Position x Span exactly even for a corrupt length near the 64-bit limit.
    return static_cast<int>(static_cast<long double>(position) * Span / static_cast<long double>(Length));
}

int ValueFromKnob(const TControl* Track, const TControl* Knob, const TControl*, int Min, int Max) {
    // A strip narrower than its knob gives no fraction.
    const int span = SpanOf(Track, Knob);
    if (span <= 0)
        return Min;
    int value = static_cast<int>(std::trunc(static_cast<double>(Knob->Left() - Track->Left()) / span * Max));
    if (value < Min)
        value = Min;
    else if (value > Max)
        value = Max;
    return value;
}

void PlaceKnobAt(int X, const TControl* Track, TControl* Knob, TControl* Fill) {
    const int span = std::max(SpanOf(Track, Knob), 0);
    const int left = std::clamp(Track->Left() + X - Knob->Width() / 2, Track->Left(), Track->Left() + span);
    Knob->SetLeft(left);
    Fill->SetWidth(left - Track->Left());
}

void DragKnob(TShiftState Shift, int X, const TControl* Track, TControl* Knob, TControl* Fill) {
    if ((Shift & ssLeft) == 0)
        return;
    const int span = std::max(SpanOf(Track, Knob), 0);
    const int low = Track->Left();
    const int high = Track->Left() + span;
    if (Knob->Left() < low || Knob->Left() > high)
        return;
    const int d = X - Knob->Width() / 2;
    Knob->SetLeft(std::clamp(Knob->Left() + d, low, high));
    Fill->SetWidth(std::clamp(Fill->Width() + d, 0, span + 4));
}

void DragScrollThumb(win32::POINT& DragOrigin, TShiftState Shift, const TControl* Track, TControl* Thumb) {
    if ((Shift & ssLeft) == 0)
        return;
    win32::POINT p;
    win32::GetCursorPos(&p);
    const int low = Track->Top();
    const int high = Track->Top() + Track->Height() - Thumb->Height();
    if (high >= low && Thumb->Top() >= low && Thumb->Top() <= high)
        Thumb->SetTop(std::clamp(Thumb->Top() + p.y - DragOrigin.y, low, high));
    DragOrigin = p;
}

// --- The end of a medium. ---

bool GraphMediumAtEnd(std::int64_t Current, std::int64_t Stop) {
    // At or past the stop, never only at exact equality: a position that stops a hair short would leave the
    // medium resting at its end for good.
    return Stop <= 0 || Current >= Stop;
}

TEndStep EndOfMediumStep(TPlayType PlayType, TPlayMode PlayMode, bool Played) {
    if (PlayType != PlayTypes::MediaFile && PlayType != PlayTypes::Audio && PlayType != PlayTypes::Pip &&
        PlayType != PlayTypes::Dvd)
        return TEndStep::RestAtEnd;
    if (!Played)
        return TEndStep::StopOnly;
    if (PlayType == PlayTypes::Pip || PlayType == PlayTypes::Dvd)
        return TEndStep::StopAndAfterPlay;
    switch (PlayMode) {
    case PlayModes::RepeatOne:
        return TEndStep::RepeatEntry;
    case PlayModes::Sequential:
        return TEndStep::NextEntry;
    case PlayModes::Random:
        return TEndStep::RandomEntry;
    case PlayModes::None:
        return TEndStep::StopAndAfterPlay;
    default:
        return TEndStep::RestAtEnd;
    }
}

// --- The ticks. ---

double TwoDecimals(double Seconds) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, Seconds, std::chars_format::fixed, 2);
    double value = 0.0;
    if (written.ec != std::errc() || std::from_chars(buffer, written.ptr, value).ec != std::errc())
        return Seconds;
    return value;
}

double CurrentAudioSeconds() {
    const double seconds = bass::BASS_ChannelBytes2Seconds(
        State.BassStream, bass::BASS_ChannelGetPosition(State.BassStream, bass::BASS_POS_BYTE));
    // Without a stream the library reports a negative number of seconds.
    return seconds >= 0.0 ? seconds : 0.0;
}

namespace {

// "%d:%2.2d:%2.2d" into Buffer, without allocating.
std::string_view FormatHms(char (&Buffer)[32], std::int64_t H, std::int64_t M, std::int64_t S) {
    const int n = std::snprintf(Buffer, sizeof Buffer, "%lld:%2.2lld:%2.2lld", static_cast<long long>(H),
                                static_cast<long long>(M), static_cast<long long>(S));
    return {Buffer, static_cast<std::size_t>(std::clamp(n, 0, static_cast<int>(sizeof Buffer) - 1))};
}

void AllowScreenSaver() {
    win32::SystemParametersInfo(win32::SPI_SETSCREENSAVEACTIVE, win32::TRUE, nullptr, 0);
}

void TellPlayList(win32::UINT Message, win32::LPARAM Index) {
    if (State.PlayListWindowHandle != nullptr)
        win32::PostMessage(State.PlayListWindowHandle, Message, 0, Index);
}

} // namespace

void TQuorelMain_Form::BindProgress() {
    progressText_.reserve(64);
    Ctrl_T->SetOnTimer([this](TObject* Sender) { Ctrl_TTimer(Sender); });
    VideoBar_XI->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        VideoBar_XIMouseMove(Sender, Shift, X, Y);
    };
    const TMouseEvent positionDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                            int Y) { VideoPro_XIMouseDown(Sender, Button, Shift, X, Y); };
    VideoPro_XI->OnMouseDown = positionDown;
    VideoGo_XI->OnMouseDown = positionDown;
    SoundBar_XI->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        SoundBar_XIMouseMove(Sender, Shift, X, Y);
    };
    const TMouseEvent soundDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                         int Y) { SoundPro_XIMouseDown(Sender, Button, Shift, X, Y); };
    const TMouseEvent soundUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                       int Y) { SoundPro_XIMouseUp(Sender, Button, Shift, X, Y); };
    for (tximage* strip : {SoundPro_XI, SoundGo_XI}) {
        strip->OnMouseDown = soundDown;
        strip->OnMouseUp = soundUp;
    }
}

void TQuorelMain_Form::Ctrl_TTimer(TObject*) {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
        VideoTick();
        break;
    case PlayTypes::Audio:
        AudioTick();
        break;
    case PlayTypes::Pip:
        PipTick();
        break;
    case PlayTypes::Dvd:
        DvdTick();
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::PlacePositionKnob(int Offset) {
    VideoBar_XI->SetLeft(VideoPro_XI->Left() + Offset);
    VideoGo_XI->SetWidth(Offset + 4);
}

void TQuorelMain_Form::ResetPositionKnob() {
    VideoBar_XI->SetLeft(VideoPro_XI->Left());
    VideoGo_XI->SetWidth(0);
}

void TQuorelMain_Form::ShowProgressTime(std::int64_t H, std::int64_t M, std::int64_t S,
                                        const std::string& Total) {
    // The tick runs every 10 ms; the text changes once a second.
    const std::int64_t shown[3] = {H, M, S};
    if (std::equal(shown, shown + 3, progressShown_) && Total == progressTotal_ &&
        progressText_ == Time_L->Caption())
        return;
    std::copy(shown, shown + 3, progressShown_);
    progressTotal_ = Total;
    char buffer[32];
    progressText_.assign(FormatHms(buffer, H, M, S));
    progressText_.append(" / ");
    progressText_.append(Total);
    if (progressText_ == Time_L->Caption())
        return;
    Time_L->SetCaption(progressText_);
    Time_L->SetLeft(Width() - Time_L->Width() - 10);
}

// Media files (1) and picture-in-picture (3) tick alike; only their ends differ (EndOfMediumStep).
void TQuorelMain_Form::VideoTick() {
    if (!State.IsPlaying || !State.MediaSeeking || !State.MediaControl)
        return;
    State.PositionReady = false;
    std::int64_t current = 0;
    std::int64_t stop = 0;
    State.MediaSeeking->GetCurrentPosition(&current);
    // A stream whose length was not known when it opened (a bare stream, or a length its file gave late)
    // plays on without one, and shows the length it tells once it tells one.
    const bool stopTold = com::SUCCEEDED(State.MediaSeeking->GetStopPosition(&stop));
    if (stopTold && stop > 0 && State.MediaDuration <= 0) {
        std::int64_t h = 0, m = 0, s = 0;
        RefTimeToHms(h, m, s, stop);
        State.VideoTimeText = HmsText(h, m, s);
    }
    if (stop > 0)
        PlacePositionKnob(KnobOffsetFor(current, stop, SpanOf(VideoPro_XI, VideoBar_XI)));
    std::int64_t h = 0, m = 0, s = 0;
    RefTimeToHms(h, m, s, current);
    ShowProgressTime(h, m, s, State.VideoTimeText);
    PositionSeconds = h * 3600 + m * 60 + s;
    if (stopTold && GraphMediumAtEnd(current, stop)) {
        AllowScreenSaver();
        // A graph with nothing to play (stop 0) never played: it is stopped, not opened again.
        EndOfMedium(stop > 0);
    }
    State.PositionReady = true;
}

void TQuorelMain_Form::PipTick() {
    VideoTick();
}

void TQuorelMain_Form::AudioTick() {
    if (!State.IsPlaying)
        return;
    // Without lyrics to scroll, a tick within the second the last one showed changes nothing: it reads the
    // position and is done. (At the stream's end the position is its length, never inside the span.)
    const bool lyricsMove = !LrcDragging && !State.LrcLineTimes.empty() && !State.LrcTexts->Empty() &&
                            !State.LrcTimes->Empty();
    const bass::QWORD bytes = bass::BASS_ChannelGetPosition(State.BassStream, bass::BASS_POS_BYTE);
    if (!lyricsMove && quietAudio_.stream == State.BassStream && bytes >= quietAudio_.from &&
        bytes < quietAudio_.to)
        return;
    State.PositionReady = false;
    const double p = std::max(bass::BASS_ChannelBytes2Seconds(State.BassStream, bytes), 0.0);
    const double p2 = TwoDecimals(p);
    // Ties to even, as the length was rounded.
    const auto r = static_cast<std::int64_t>(std::nearbyint(p));
    if (!LrcDragging)
        LyricsStep(p2);
    if (State.AudioSeconds > 0)
        PlacePositionKnob(KnobOffsetFor(r, State.AudioSeconds, SpanOf(VideoPro_XI, VideoBar_XI)));
    std::int64_t h = 0, m = 0, s = 0;
    SecondsToHms(h, m, s, r);
    ShowProgressTime(h, m, s, State.AudioTimeText);
    AudioPositionSeconds = r;
    // Quiet until the position rounds to the next second, or moves back (a seek), and never past the end.
    if (bytes != static_cast<bass::QWORD>(-1)) {
        const bass::QWORD length = bass::BASS_ChannelGetLength(State.BassStream, bass::BASS_POS_BYTE);
        const bass::QWORD nextSecond =
            bass::BASS_ChannelSeconds2Bytes(State.BassStream, static_cast<double>(r) + 0.5);
        quietAudio_ = {State.BassStream, bytes, std::min(nextSecond, length)};
    }
    // The end is the stream's own end, not the rounded seconds, which reach the length up to half a second
    // before the last sample. A stream without length never played.
    if (AudioStreamEnded())
        EndOfMedium(State.AudioLength > 0.0);
    State.PositionReady = true;
}

void TQuorelMain_Form::DvdTick() {
    if (!State.IsPlaying || !State.MediaSeeking || !State.MediaControl)
        return;
    // 1. A disc taken out of its drive; a disc folder is not checked.
    if (State.DvdPath != tickedDvdPath_) {
        tickedDvdPath_ = State.DvdPath;
        tickedDvdPathIsDrive_ = IsDvdDrivePath(State.DvdPath);
    }
    if (tickedDvdPathIsDrive_ && !IsDvdDriveReady(State.DvdPath)) {
        StopByType();
        Ctrl_T->SetEnabled(false);
        win32::MessageBox(Handle(), "Dvdrom no ready!", "Information", win32::MB_ICONINFORMATION);
        return;
    }
    // 2.
    State.PositionReady = false;
    State.DvdDomain = GetDvdDomain();
    if (State.DvdDomain == DvdDomains::VideoManagerMenu || State.DvdDomain == DvdDomains::TitleSetMenu) {
        // 3. A menu. The timer goes on: a menu may go on by itself (a still picture of its time, the disc's
        // own commands), and the title it goes to shows its time from its start.
        Status_L->SetCaption("播放菜单");
        Time_L->SetCaption("");
        ResetPositionKnob();
        State.PositionReady = true;
        if (State.DvdChapterIndex != 0) {
            State.DvdChapterIndex = 0;
            TellPlayList(WM_PLAYLIST_SETDVDCHAPTER, State.DvdChapterIndex);
        }
        for (tximage* button : {Previous_XI, Backward_XI, Forward_XI, Next_XI})
            button->SetEnabled(false);
        EnableMenuItems(FileMenuItems);
        DisableMenuItems(PlayMenuItems);
        EnableMenuItems(DvdMenuItems);
        pPreviouschapter->SetEnabled(false);
        pNextchapter->SetEnabled(false);
        return;
    }
    if (State.DvdDomain == DvdDomains::Stop) {
        // The disc has ended (its last commands stop it) and all of it was played: the end of the medium. A
        // title that ends while the disc goes on (to a menu or to the next title) is not.
        AllowScreenSaver();
        EndOfMedium(true);
        State.PositionReady = true;
        return;
    }
    if (State.DvdDomain != DvdDomains::Title)
        return; // 5. first play or unknown: a later tick reaches a menu or a title
    // 4. A title.
    if (Status_L->Caption() == "播放菜单")
        Status_L->SetCaption("播放中");
    std::int64_t h = 0, m = 0, s = 0;
    const std::int64_t pos = GetDvdPositionSeconds(h, m, s);
    PositionSeconds = pos;
    const int chapter = CurrentChapterIndex();
    if (chapter != State.DvdChapterIndex) {
        State.DvdChapterIndex = chapter;
        TellPlayList(WM_PLAYLIST_SETDVDCHAPTER, chapter);
    }
    // The total is the title length the previous tick found.
    ShowProgressTime(h, m, s, State.VideoTimeText);
    EnableMenuItems(FileMenuItems);
    EnableMenuItems(PlayMenuItems);
    std::int64_t lh = 0, lm = 0, ls = 0;
    State.DvdTitleLength = GetDvdTitleLengthSeconds(lh, lm, ls);
    char buffer[32];
    if (const std::string_view length = FormatHms(buffer, lh, lm, ls); State.VideoTimeText != length)
        State.VideoTimeText.assign(length);
    if (State.DvdTitleLength > 0)
        PlacePositionKnob(KnobOffsetFor(pos, State.DvdTitleLength, SpanOf(VideoPro_XI, VideoBar_XI)));
    UpdateDvdChapterButtons(Backward_XI, Forward_XI, Previous_XI, Next_XI);
    UpdateDvdChapterMenus(pPreviouschapter, pNextchapter);
    if (State.DvdChapterIndex != State.LastRefreshedChapterIndex) {
        RefreshButtonBitmaps();
        State.LastRefreshedChapterIndex = State.DvdChapterIndex;
    }
    State.PositionReady = true;
}

void TQuorelMain_Form::EndOfMedium(bool Played) {
    switch (EndOfMediumStep(State.PlayType, State.PlayMode, Played)) {
    case TEndStep::RepeatEntry:
        RepeatCurrentEntry();
        break;
    case TEndStep::NextEntry:
        PlayNextEntry();
        break;
    case TEndStep::RandomEntry:
        PlayRandomEntry();
        break;
    case TEndStep::StopAndAfterPlay:
        StopAtEnd(true);
        break;
    case TEndStep::StopOnly:
        StopAtEnd(false);
        break;
    case TEndStep::RestAtEnd:
        break;
    }
}

void TQuorelMain_Form::StopAtEnd(bool AfterPlay) {
    ResetPositionKnob();
    Ctrl_T->SetEnabled(false);
    State.IsPlaying = false;
    Time_L->SetCaption("");
    // The stop of the play type (the graph's or the audio stream's) releases the graph at once, so it is
    // neither rewound nor paused first.
    StopByType();
    if (AfterPlay)
        DoAfterPlayAction();
}

void TQuorelMain_Form::RepeatCurrentEntry() {
    State.PlayRate = 1.0;
    // The same file opens again without the stopped state in between. Only the ended graph goes first, as a
    // graph open takes none left behind; an audio open frees the ended stream itself.
    if (State.PlayType != PlayTypes::Audio)
        GraphStop();
    OpenContinuation();
}

void TQuorelMain_Form::PlayNextEntry() {
    State.PlayRate = 1.0;
    StopByType();
    StepPlayListIndex(1);
    // The medium was not an entry of the list: the list goes on from its first entry.
    if (State.PlayListIndex == -1)
        State.PlayListIndex = 0;
    PlayEntryAtIndex();
}

void TQuorelMain_Form::PlayRandomEntry() {
    StopByType();
    State.PlayRate = 1.0;
    State.PlayListIndex = RandomIndex(State.PlayListFiles ? State.PlayListFiles->Count() : 0);
    PlayEntryAtIndex();
}

void TQuorelMain_Form::PlayEntryAtIndex() {
    // An entry that does not open (gone, or not a medium) is passed over, its status text shown, for the
    // next one; once round the list at most, so that a list of such entries ends the play.
    const int entries = State.PlayListFiles ? State.PlayListFiles->Count() : 0;
    for (int tried = 0;; ++tried) {
        const std::string* file = CurrentPlayListFile();
        if (file == nullptr) {
            // An empty list has no entry to go on with: the player stays stopped and the play is over.
            if (tried == 0)
                DoAfterPlayAction();
            return;
        }
        State.CurrentMediaFile = *file;
        ShowId3Text(State.CurrentMediaFile);
        if (OpenContinuation() || tried + 1 >= entries)
            return;
        StepPlayListIndex(1);
        if (State.PlayListIndex == -1)
            return;
    }
}

bool TQuorelMain_Form::OpenContinuation() {
    const bool opened = OpenCurrentMedia();
    TellPlayList(WM_PLAYLIST_SETCURRENT, State.PlayListIndex);
    // A file that does not open (gone since it played, or unplayable) ends the play, with no after-play
    // action. What ended is stopped with it: an audio file repeated is not stopped before its new open, and
    // an open that fails at once leaves its ended stream behind, which the next tick would find ended again.
    if (!opened)
        StopByType();
    ShowMediaOpened();
    // Into full screen only from the window: a list playing in full screen stays there.
    FullScreenAtOnce();
    return opened;
}

// --- The knob strips. ---

void TQuorelMain_Form::UpdatePositionKnob() {
    const int span = SpanOf(VideoPro_XI, VideoBar_XI);
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Pip:
        if (State.MediaSeeking) {
            std::int64_t current = 0;
            std::int64_t stop = 0;
            State.MediaSeeking->GetCurrentPosition(&current);
            State.MediaSeeking->GetStopPosition(&stop);
            if (stop > 0)
                PlacePositionKnob(KnobOffsetFor(current, stop, span));
        }
        break;
    case PlayTypes::Dvd:
        if (State.DvdTitleLength > 0)
            PlacePositionKnob(KnobOffsetFor(PositionSeconds, State.DvdTitleLength, span));
        break;
    case PlayTypes::Audio:
        if (State.AudioSeconds > 0) {
            const double p = bass::BASS_ChannelBytes2Seconds(
                State.BassStream, bass::BASS_ChannelGetPosition(State.BassStream, bass::BASS_POS_BYTE));
            const auto r = p >= 0.0 ? static_cast<std::int64_t>(std::nearbyint(p)) : 0;
            PlacePositionKnob(KnobOffsetFor(r, State.AudioSeconds, span));
        }
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::SeekFromPositionKnob() {
    const int pos = VideoBar_XI->Left() - VideoPro_XI->Left();
    const int max = SpanOf(VideoPro_XI, VideoBar_XI);
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Pip:
        SeekMediaBySlider(pos, max, *Time_L);
        break;
    case PlayTypes::Audio:
        SeekAudioBySlider(pos, max, *Time_L);
        break;
    case PlayTypes::Dvd:
        SeekDvdBySlider(pos, max, *Time_L);
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::VideoBar_XIMouseMove(TObject*, TShiftState Shift, int X, int) {
    DragKnob(Shift, X, VideoPro_XI, VideoBar_XI, VideoGo_XI);
}

void TQuorelMain_Form::VideoPro_XIMouseDown(TObject*, TMouseButton, TShiftState, int X, int) {
    PlaceKnobAt(X, VideoPro_XI, VideoBar_XI, VideoGo_XI);
    SeekFromPositionKnob();
}

void TQuorelMain_Form::SoundBar_XIMouseMove(TObject*, TShiftState Shift, int X, int) {
    if ((Shift & ssLeft) == 0)
        return;
    DragKnob(Shift, X, SoundPro_XI, SoundBar_XI, SoundGo_XI);
    SetVolumePercent(ValueFromKnob(SoundPro_XI, SoundBar_XI, SoundGo_XI, 0, 100));
    Volume_L->SetCaption(std::to_string(State.SoundLevel) + "%");
}

void TQuorelMain_Form::SoundPro_XIMouseDown(TObject*, TMouseButton, TShiftState, int X, int) {
    PlaceKnobAt(X, SoundPro_XI, SoundBar_XI, SoundGo_XI);
    SetVolumePercent(ValueFromKnob(SoundPro_XI, SoundBar_XI, SoundGo_XI, 0, 100));
    Volume_L->SetCaption(std::to_string(State.SoundLevel) + "%");
}

void TQuorelMain_Form::SoundPro_XIMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    Volume_L->SetCaption("");
}
