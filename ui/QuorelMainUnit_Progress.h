#pragma once
// The arithmetic of the progress ticks and the knob strips: where a knob stands for a position, the value a
// knob stands for, moving a knob by a click or a drag, the vertical twin for the companion windows' scroll
// bars, and what the end of a medium leads to. A knob's travel (span) is its track's width less its own;
// position 0 is the track's left edge.

#include <cstdint>

#include "core/PlaybackState.h"
#include "platform/forms/Controls.h"
#include "platform/win32/Types.h"

// Trunc(Position x Span / Length) within 0 .. Span; 0 when Length or Span is 0 or less.
int KnobOffsetFor(std::int64_t Position, std::int64_t Length, int Span);

// Trunc(knob offset / span x Max) within Min .. Max; Min when the knob has no travel. (Fill is not used.)
int ValueFromKnob(const forms::TControl* Track, const forms::TControl* Knob, const forms::TControl* Fill, int Min,
                  int Max);
// X is the mouse inside the clicked track or fill: the knob is centred there, within its travel; the fill
// reaches the knob.
void PlaceKnobAt(int X, const forms::TControl* Track, forms::TControl* Knob, forms::TControl* Fill);
// X is the mouse inside the knob: while the left button is held the knob follows it within its travel and
// the fill grows or shrinks by as much, within 0 .. span + 4; nothing when the knob lies outside its travel.
void DragKnob(forms::TShiftState Shift, int X, const forms::TControl* Track, forms::TControl* Knob,
              forms::TControl* Fill);
// While the left button is held the thumb follows the cursor's vertical travel since DragOrigin, within the
// track (when it lies within the track's height); DragOrigin becomes the cursor's position.
void DragScrollThumb(win32::POINT& DragOrigin, forms::TShiftState Shift, const forms::TControl* Track,
                     forms::TControl* Thumb);

// The audio stream's position in seconds; 0 without a stream.
double CurrentAudioSeconds();
// Seconds as "%2.2f" shows them, read back: the lyrics are timed in hundredths. Locale-independent.
double TwoDecimals(double Seconds);

// The end test of a graph medium (a file or picture-in-picture): the position has reached the stop position
// (after the end of the stream it equals it), or there is nothing to play (stop 0).
bool GraphMediumAtEnd(std::int64_t Current, std::int64_t Stop);

enum class TEndStep {
    RestAtEnd,        // nothing: the medium rests at its end and the tick goes on
    RepeatEntry,      // RepeatCurrentEntry
    NextEntry,        // PlayNextEntry
    RandomEntry,      // PlayRandomEntry
    StopAndAfterPlay, // stop, then the after-play action
    StopOnly,         // stop: the medium never played, so nothing goes on from it
};
// Media and audio files continue by the play mode (3 repeat, 1 next, 2 random, 0 stop and the after-play
// action, any other value rest at the end); picture-in-picture and DVDs always stop and run the after-play
// action. A medium that never played (Played false: nothing to play, or no length) only stops, so that a
// file that cannot play is not opened again and again.
TEndStep EndOfMediumStep(TPlayType PlayType, TPlayMode PlayMode, bool Played);
