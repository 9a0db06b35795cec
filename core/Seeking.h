#pragma once
// Moving the position of what plays to a chosen time: seeks from the position knob, a seek to a second
// (resume points, the go-to dialog), the forward and backward jumps, and the go-to dialog call. Media files
// and picture-in-picture move through the graph's seeking (100-ns units), audio files through the audio
// library, DVD titles through the DVD navigator (a time code, in the title domain only). The time splitting
// and the time text every label shows are the shared helpers of core/shared/TimeSplit.h.

#include <cstdint>

#include "core/shared/TimeSplit.h"
#include "platform/forms/StdCtrls.h"
#include "platform/media/Interfaces.h"
#include "platform/win32/Types.h"

// Knob seeks to the fraction Pos / Max of the medium; TimeLabel shows the time and the total. They act only
// while a medium plays or is paused, between progress ticks (PositionReady), and not for a knob without
// travel (Max 0 or less). The media seek shows the position from before the seek, the others the target.
void SeekMediaBySlider(int Pos, int Max, forms::TLabel& TimeLabel);
void SeekAudioBySlider(int Pos, int Max, forms::TLabel& TimeLabel);
void SeekDvdBySlider(int Pos, int Max, forms::TLabel& TimeLabel);

// Seeks a media file, picture-in-picture or DVD title (in the title domain) to Seconds, clamped to 0 .. its
// length when that is known. Does not wait for PositionReady. Audio files have SeekAudioSeconds.
void GotoSeconds(std::int64_t Seconds);

// The go-to command: asks the dialog library's go-to dialog for a time and goes there. AppHandle owns the
// dialog (0: nothing happens). Only media files, picture-in-picture and DVDs; a time chosen while the medium
// changed underneath the dialog (its timers run on) is not applied to the new medium.
void ShowGotoDialog(win32::HWND AppHandle);

// Forward (1) by [Play] QuickOnce or backward (2) by [Play] SlowOnce seconds (a missing or negative setting
// counts as 5), within 0 .. the length. Media files, picture-in-picture and DVD titles; nothing for audio.
void Jump(int Direction);
void JumpMedia(int Direction);
void JumpDvd(int Direction);

// The DVD time code of Seconds, frames 1.
dshow::DVD_HMSF_TIMECODE DvdTimeCode(std::int64_t Seconds);
