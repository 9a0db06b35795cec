#include "core/Seeking.h"

#include <algorithm>

#include "core/AudioPlayback.h"
#include "core/DialogLaunchers.h"
#include "core/DvdNavigation.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"

using dshow::AM_SEEKING_AbsolutePositioning;
using dshow::AM_SEEKING_SeekToKeyFrame;
using dshow::DVD_CMD_FLAG_Flush;

namespace {

void DvdPlayAtTime(dshow::DVD_HMSF_TIMECODE Time, win32::DWORD Flags) {
    State.DvdControl2->PlayAtTime(&Time, Flags, nullptr);
}

constexpr int DefaultJumpSeconds = 5;

// [Play] QuickOnce or SlowOnce: a missing key (-1) or a negative value would turn the jump round.
std::int64_t JumpSeconds(const char* Key) {
    const int seconds = ReadIniInteger("Play", Key);
    return seconds < 0 ? DefaultJumpSeconds : seconds;
}

// Target within 0 .. Length; a length of 0 or less is unknown and bounds nothing (the graph or the navigator
// then refuses what lies beyond the end).
std::int64_t ClampToLength(std::int64_t Target, std::int64_t Length) {
    Target = std::max<std::int64_t>(Target, 0);
    return Length > 0 ? std::min(Target, Length) : Target;
}

// Trunc(Length x Pos / Max), within 0 .. Length; Max is above 0.
std::int64_t KnobTarget(std::int64_t Length, int Pos, int Max) {
    return std::clamp<std::int64_t>(Length * Pos / Max, 0, std::max<std::int64_t>(Length, 0));
}

std::string SecondsText(std::int64_t Seconds) {
    std::int64_t h = 0, m = 0, s = 0;
    SecondsToHms(h, m, s, Seconds);
    return HmsText(h, m, s);
}

// Moves the graph to Target (100-ns units); the stop position stays as it is.
void SeekGraph(std::int64_t Target) {
    State.MediaSeeking->SetPositions(&Target, AM_SEEKING_AbsolutePositioning, nullptr,
                                     AM_SEEKING_SeekToKeyFrame);
}

bool IsGraphMedium() {
    return State.PlayType == PlayTypes::MediaFile || State.PlayType == PlayTypes::Pip;
}

} // namespace

dshow::DVD_HMSF_TIMECODE DvdTimeCode(std::int64_t Seconds) {
    std::int64_t h = 0, m = 0, s = 0;
    SecondsToHms(h, m, s, Seconds);
    dshow::DVD_HMSF_TIMECODE time;
    time.bHours = static_cast<std::uint8_t>(std::min<std::int64_t>(h, 255));
    time.bMinutes = static_cast<std::uint8_t>(m);
    time.bSeconds = static_cast<std::uint8_t>(s);
    time.bFrames = 1;
    return time;
}

void SeekMediaBySlider(int Pos, int Max, forms::TLabel& TimeLabel) {
    // A knob without travel (a narrow window) gives no fraction.
    if (!State.IsPlaying || !State.PositionReady || !State.MediaSeeking || Max <= 0)
        return;
    std::int64_t stop = 0;
    // A stream without a known length cannot be sought by fraction.
    if (com::FAILED(State.MediaSeeking->GetStopPosition(&stop)))
        return;
    const std::int64_t target = KnobTarget(stop, Pos, Max);
    // The label shows where the seek goes, as the audio and DVD seeks do: a paused medium has no tick that
    // would write the new position after it.
    std::int64_t h = 0, m = 0, s = 0;
    RefTimeToHms(h, m, s, target);
    TimeLabel.SetCaption(HmsText(h, m, s) + " / " + State.VideoTimeText);
    SeekGraph(target);
}

void SeekAudioBySlider(int Pos, int Max, forms::TLabel& TimeLabel) {
    if (!State.IsPlaying || !State.PositionReady || Max <= 0)
        return;
    const std::int64_t target = KnobTarget(State.AudioSeconds, Pos, Max);
    TimeLabel.SetCaption(SecondsText(target) + " / " + State.AudioTimeText);
    SeekAudioSeconds(target);
}

void SeekDvdBySlider(int Pos, int Max, forms::TLabel& TimeLabel) {
    if (!State.IsPlaying || !State.PositionReady || !State.DvdControl2 || Max <= 0)
        return;
    const std::int64_t target = KnobTarget(State.DvdTitleLength, Pos, Max);
    TimeLabel.SetCaption(SecondsText(target) + " / " + State.VideoTimeText);
    DvdPlayAtTime(DvdTimeCode(target), DVD_CMD_FLAG_Flush);
}

void GotoSeconds(std::int64_t Seconds) {
    // Clamped: a stored resume point may lie beyond the end of a shorter file that replaced the stored one.
    if (IsGraphMedium()) {
        if (State.MediaSeeking)
            SeekGraph(ClampToLength(Seconds * RefTimeUnitsPerSecond, State.MediaDuration));
    } else if (State.PlayType == PlayTypes::Dvd && State.DvdDomain == DvdDomains::Title &&
               State.DvdControl2) {
        DvdPlayAtTime(DvdTimeCode(ClampToLength(Seconds, State.DvdTitleLength)), DVD_CMD_FLAG_Flush);
    }
}

void ShowGotoDialog(win32::HWND AppHandle) {
    std::int64_t length = 0;
    if (IsGraphMedium())
        length = State.MediaDuration;
    else if (State.PlayType == PlayTypes::Dvd)
        length = State.DvdTitleLength;
    else
        return;
    const TPlayType playType = State.PlayType;
    const std::string medium = State.PlayType == PlayTypes::Dvd ? State.DvdPath : State.CurrentMediaFile;
    std::int64_t seconds = 0;
    std::uint8_t cancelled = 1; // stays so when the library does nothing (no window handle)
    GotoMediaForm(AppHandle, State.Language, length, playType, &seconds, &cancelled);
    if (cancelled != 0)
        return;
    // The player's timers run during the modal dialog: the medium may have ended and another one opened.
    const std::string now = State.PlayType == PlayTypes::Dvd ? State.DvdPath : State.CurrentMediaFile;
    if (State.PlayType != playType || now != medium)
        return;
    GotoSeconds(seconds);
}

void Jump(int Direction) {
    if (IsGraphMedium())
        JumpMedia(Direction);
    else if (State.PlayType == PlayTypes::Dvd && State.DvdDomain == DvdDomains::Title)
        JumpDvd(Direction);
}

void JumpMedia(int Direction) {
    if (!State.IsPlaying || !State.PositionReady || !State.MediaSeeking)
        return;
    const std::int64_t forward = JumpSeconds("QuickOnce") * RefTimeUnitsPerSecond;
    const std::int64_t backward = JumpSeconds("SlowOnce") * RefTimeUnitsPerSecond;
    if (Direction != 1 && Direction != 2)
        return;
    std::int64_t current = 0;
    State.MediaSeeking->GetCurrentPosition(&current);
    const std::int64_t target = Direction == 1 ? current + forward : current - backward;
    SeekGraph(ClampToLength(target, State.MediaDuration));
}

void JumpDvd(int Direction) {
    if (!State.IsPlaying || !State.PositionReady || !State.DvdControl2)
        return;
    const std::int64_t forward = JumpSeconds("QuickOnce");
    const std::int64_t backward = JumpSeconds("SlowOnce");
    if (Direction != 1 && Direction != 2)
        return;
    std::int64_t h = 0, m = 0, s = 0;
    const std::int64_t current = GetDvdPositionSeconds(h, m, s);
    const std::int64_t target = Direction == 1 ? current + forward : current - backward;
    DvdPlayAtTime(DvdTimeCode(ClampToLength(target, State.DvdTitleLength)), DVD_CMD_FLAG_Flush);
}
