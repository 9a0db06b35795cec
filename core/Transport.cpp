#include "core/Transport.h"

#include <algorithm>
#include <cstdio>

#include "core/DvdNavigation.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/audio/Bass.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Menus.h"

const std::array<int, 101> VolumeTable = {
    -10000, -6418, -6147, -6000, -5892, -4826, -4647, -4540, -4477, -4162, // 0-9
    -3876,  -3614, -3500, -3492, -3374, -3261, -3100, -3153, -3048, -2947, // 10-19
    -2849,  -2755, -2700, -2663, -2575, -2520, -2489, -2406, -2325, -2280, // 20-29
    -2246,  -2170, -2095, -2050, -2023, -1952, -1900, -1884, -1834, -1820, // 30-39
    -1800,  -1780, -1757, -1695, -1636, -1579, -1521, -1500, -1464, -1436, // 40-49
    -1420,  -1408, -1353, -1299, -1246, -1195, -1144, -1096, -1060, -1049, // 50-59
    -1020,  -1003, -957,  -912,  -868,  -800,  -774,  -784,  -760,  -744,  // 60-69
    -705,   -667,  -630,  -610,  -594,  -570,  -558,  -525,  -493,  -462,  // 70-79
    -432,   -403,  -375,  -348,  -322,  -297,  -285,  -273,  -250,  -228,  // 80-89
    -207,   -187,  -176,  -168,  -150,  -102,  -75,   -19,   -10,   0,     // 90-99
    0,                                                                     // 100
};

int VolumeForLevel(int Level) { return VolumeTable[static_cast<std::size_t>(std::clamp(Level, 0, 100))]; }

float AudioVolumeForLevel(int Level) {
    return static_cast<float>(std::clamp(Level, 0, 100)) / 100.0F;
}

void GraphRun() {
    if (!State.MediaSeeking || !State.MediaControl)
        return;
    State.PlayRate = 1.0;
    State.MediaSeeking->SetRate(1.0);
    State.MediaControl->Run();
    State.IsPlaying = true;
    State.IsPaused = false;
}

void GraphPause() {
    if (!State.MediaControl)
        return;
    State.MediaControl->Pause();
    State.IsPlaying = true;
    State.IsPaused = true;
}

void GraphStop() {
    if (State.MediaControl) {
        State.MediaControl->Stop();
        State.IsPlaying = false;
        State.IsPaused = false;
    }
    // Also without a control: a half-built graph must not stay behind.
    ReleaseGraphInterfaces();
}

void ReleaseGraphInterfaces() {
    PlaybackState& s = State;
    s.GraphBuilder = nullptr;
    s.MediaSeeking = nullptr;
    s.MediaControl = nullptr;
    s.VideoWindow = nullptr;
    s.BasicAudio = nullptr;
    s.MediaEventEx = nullptr;
    s.VideoFrameStep = nullptr;
    s.MediaDet = nullptr;
    s.SampleGrabberFilter = nullptr;
    s.SampleGrabber = nullptr;
    s.DvdControl = nullptr;
    s.DvdInfo2 = nullptr;
    s.DvdInfo = nullptr;
    s.DvdControl2 = nullptr;
    s.Vmr9WindowlessControl = nullptr;
    s.Vmr9FilterConfig = nullptr;
    s.Vmr9MixerControl = nullptr;
    s.Vmr9Filter = nullptr;
    s.Vmr7WindowlessControl = nullptr;
    s.Vmr7FilterConfig = nullptr;
    s.Vmr7MixerControl = nullptr;
    s.Vmr7Filter = nullptr;
}

namespace {

void ApplyRate(double Rate, std::string& StatusText) {
    const bool failed = com::FAILED(State.MediaSeeking->SetRate(Rate));
    if (failed || Rate == 1.0) {
        StatusText = "播放中";
        return;
    }
    char rate[32];
    std::snprintf(rate, sizeof rate, "%2.2f", Rate);
    StatusText = std::string("播放中  ") + rate + "x";
}

// The common end of both mute halves: the setting is written at once, and the button's picture is named.
std::string SaveMute() {
    WriteIniString("Play", "isSlience", State.isSlience ? "1" : "0");
    return State.isSlience ? "Slience_Normal_btn.bmp" : "Sound_normal_btn.bmp";
}

} // namespace

void GraphFaster(double& Rate, std::string& StatusText) {
    if (!State.MediaSeeking)
        return; // nothing open, or stopped: there is no rate to change
    if (Rate > 0 && Rate < 1) {
        Rate = 1.0;
    } else if (Rate >= 1 && Rate <= 2) {
        Rate += 0.25;
        if (Rate == 2.25)
            Rate = 1.0;
    }
    ApplyRate(Rate, StatusText);
}

void GraphSlower(double& Rate, std::string& StatusText) {
    if (!State.MediaSeeking)
        return;
    if (Rate > 1) {
        Rate = 1.0;
    } else if (Rate > 0 && Rate <= 1) {
        Rate -= 0.25;
        if (Rate == 0)
            Rate = 1.0;
    }
    ApplyRate(Rate, StatusText);
}

void BassPlay() {
    if (!bass::BASS_ChannelPlay(State.BassStream, bass::FALSE))
        return;
    State.IsPlaying = true;
    State.IsPaused = false;
}

void BassPause() {
    if (!bass::BASS_ChannelPause(State.BassStream))
        return;
    State.IsPlaying = true;
    State.IsPaused = true;
}

void BassStop() {
    bass::BASS_StreamFree(State.BassStream);
    // A stale handle would let a later play or pause report a stream that is gone.
    State.BassStream = 0;
    State.IsPlaying = false;
    State.IsPaused = false;
}

void PlayFaster(double& Rate, std::string& StatusText) {
    if (State.PlayType == PlayTypes::MediaFile || State.PlayType == PlayTypes::Pip)
        GraphFaster(Rate, StatusText);
    else if (State.PlayType == PlayTypes::Dvd)
        DvdFaster(Rate, StatusText);
}

void PlaySlower(double& Rate, std::string& StatusText) {
    if (State.PlayType == PlayTypes::MediaFile || State.PlayType == PlayTypes::Pip)
        GraphSlower(Rate, StatusText);
    else if (State.PlayType == PlayTypes::Dvd)
        DvdSlower(Rate, StatusText);
}

void SetVolumePercent(int Level) {
    // A level outside the table (a missing setting reads -1) is taken at the nearest end.
    State.SoundLevel = std::clamp(Level, 0, 100);
    State.VolumeAttenuation = VolumeForLevel(State.SoundLevel);
    if (State.isSlience)
        return;
    if (State.BasicAudio)
        State.BasicAudio->put_Volume(State.VolumeAttenuation);
    else
        bass::BASS_SetVolume(AudioVolumeForLevel(State.SoundLevel));
}

void ToggleMute(forms::TMenuItem* MenuItem, forms::TImage* Button, int Level) {
    const std::string picture =
        State.PlayType == PlayTypes::Audio ? ToggleMuteBass(Level) : ToggleMuteGraph(Level);
    // The check is set from the state, not flipped on its own: a check that was out of step (a start-up
    // muted) would stay wrong.
    if (MenuItem != nullptr)
        MenuItem->SetChecked(State.isSlience);
    if (Button != nullptr)
        Button->Picture().LoadFromFile(State.SkinPath + picture);
}

std::string ToggleMuteGraph(int Level) {
    State.isSlience = !State.isSlience;
    if (State.BasicAudio)
        State.BasicAudio->put_Volume(State.isSlience ? -10000 : VolumeForLevel(Level));
    return SaveMute();
}

std::string ToggleMuteBass(int Level) {
    State.isSlience = !State.isSlience;
    bass::BASS_SetVolume(State.isSlience ? 0.0F : AudioVolumeForLevel(Level));
    return SaveMute();
}

void StepOneFrame(dshow::IVideoFrameStep* FrameStep) {
    if (FrameStep == nullptr)
        return;
    // A step leaves the graph paused on the new frame, also when it was running: the flags say so.
    if (com::SUCCEEDED(FrameStep->Step(1, nullptr)) && State.IsPlaying)
        State.IsPaused = true;
}

void RepaintVideo(win32::HWND Wnd) {
    if (State.PlayType != PlayTypes::MediaFile && State.PlayType != PlayTypes::Pip)
        return;
    if (State.RenderType == RenderTypes::Vmr9 && State.Vmr9WindowlessControl)
        State.Vmr9WindowlessControl->RepaintVideo(Wnd);
    else if (State.RenderType == RenderTypes::Vmr7 && State.Vmr7WindowlessControl)
        State.Vmr7WindowlessControl->RepaintVideo(Wnd);
}
