#pragma once
// Transport of what plays: through the media graph run, pause, stop and the release of the graph, the
// playback rate with its status text, a single-frame step and the repaint of a windowless video; through the
// audio library play, pause and stop of the audio stream; for both the volume table and level, and mute.

#include <algorithm>
#include <array>
#include <string>

#include "platform/media/Interfaces.h"
#include "platform/win32/Types.h"

namespace forms {
class TImage;
class TMenuItem;
} // namespace forms

// Attenuation in hundredths of a decibel for each volume percent 0..100.
extern const std::array<int, 101> VolumeTable;

// The table entry for Level, clamped to 0..100 (a level from a hand-edited or missing setting included).
int VolumeForLevel(int Level);
// The audio library's volume 0..1 for a level, clamped likewise.
float AudioVolumeForLevel(int Level);

void GraphRun();
void GraphPause();
// Stops the graph and always releases every graph reference, also of a graph that never got its control.
void GraphStop();
void ReleaseGraphInterfaces();

// The audio stream: play goes on where it stood, pause keeps it, stop frees it and forgets its handle. Play
// and pause without a stream do nothing and leave the flags as they are.
void BassPlay();
void BassPause();
void BassStop();

// By PlayType: 1 and 3 step the graph's rate, 2 the DVD navigator's; 0 and 4 change nothing.
void PlayFaster(double& Rate, std::string& StatusText);
void PlaySlower(double& Rate, std::string& StatusText);
// Do nothing when no graph is there to take the rate.
void GraphFaster(double& Rate, std::string& StatusText);
void GraphSlower(double& Rate, std::string& StatusText);

// Sets SoundLevel and VolumeAttenuation and, unless muted, the graph's volume, or the audio library's when no
// graph is there (an audio file plays).
void SetVolumePercent(int Level);

// Mute on or off for what plays (the audio library while an audio file plays, the graph otherwise): the menu
// item's check shows isSlience, and the button the Normal picture of the new state; unmuting gives Level.
void ToggleMute(forms::TMenuItem* MenuItem, forms::TImage* Button, int Level);
// Its halves: isSlience flips, the graph's (the audio library's) volume follows, [Play] isSlience is written.
// Each gives the skin picture the mute button is to show ("Slience_Normal_btn.bmp" or
// "Sound_normal_btn.bmp").
std::string ToggleMuteGraph(int Level);
std::string ToggleMuteBass(int Level);

// Places a knob for Value on its track (any image with Left and Width); the fill reaches the knob.
template <class Image> void SetSliderThumb(int Value, int Min, int Max, const Image& Track, Image& Thumb, Image& Fill) {
    if (Value < Min)
        Value = Min;
    else if (Value > Max)
        Value = Max;
    Thumb.Left = Track.Left + (Max != 0 ? static_cast<int>(static_cast<double>(Value) / Max * (Track.Width - Thumb.Width)) : 0);
    Fill.Width = Thumb.Left - Track.Left;
}

// Two percent up (Direction 1) or down (2): the level, then the knob within its track and the fill to it.
template <class Image> void StepVolume(int Level, const Image& Track, Image& Thumb, Image& Fill, int Direction) {
    SetVolumePercent(Direction == 1 ? std::min(Level + 2, 100) : std::max(Level - 2, 0));
    const int span = Track.Width - Thumb.Width;
    const double step = std::max(static_cast<double>(span) / 100.0 * 2.0, 1.0);
    int knob = Direction == 1 ? Thumb.Left + static_cast<int>(step) : Thumb.Left - static_cast<int>(step);
    knob = std::clamp(knob, Track.Left, Track.Left + std::max(span, 0));
    Thumb.Left = knob;
    // The fill follows the knob, so that it never runs past it.
    Fill.Width = Thumb.Left - Track.Left;
}

void StepOneFrame(dshow::IVideoFrameStep* FrameStep);
void RepaintVideo(win32::HWND Wnd);
