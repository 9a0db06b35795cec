#pragma once
// The arithmetic of the lyrics display: the lines' times, the first scroll interval, the line that plays at a
// position, and what the lyrics step makes of it (the scroll interval, the pixels the line has moved, the
// highlight's grey). Seconds count in whole hundredths, as lyric times are written and the audio position is
// rounded, so that the pixel arithmetic is exact (10.60 - 10.00 is 60 hundredths, not 59.999...); a time far
// beyond any recording (a hand-made file) is held at a bound, so that no difference of two times overflows.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/PlaybackState.h"
#include "platform/forms/StringList.h"

// Seconds in whole hundredths, within +-10^13 seconds.
std::int64_t LyricsHundredths(double Seconds);

// One entry per time of Times (ascending): Start the time, Next the following time, AudioLength for the last.
std::vector<TLrcLineTime> LyricsLineTimes(const forms::TStringList& Times, double AudioLength);

// The scroll timer's first interval: the text starts 20 pixels below the middle and moves one pixel a tick,
// so that the first line reaches the middle at its time: Trunc(FirstSeconds x 1000 / 20) ms. 0 (the timer
// idle until the lyrics step times it) for a first time of 0 or before.
unsigned FirstLyricsInterval(double FirstSeconds);

// The line that plays at Seconds: the first with Start <= Seconds < Next; -1 before the first line, after
// the last, or with no lines. The lines are in ascending order of Start, so this is a binary search: only the
// last line starting at or before Seconds can hold it. LinesLookedAt, when given, counts the lines looked at.
int LyricsLineAt(const std::vector<TLrcLineTime>& Lines, double Seconds, int* LinesLookedAt = nullptr);

// What the lyrics step does at Seconds with lines LineHeight pixels apart; nothing before the first line.
struct TLyricsStep {
    int Line;          // the line that plays
    unsigned Interval; // ms a pixel: one line height during the line's time, at least 1
    int Pixels;        // how far the line has moved past the middle
};
std::optional<TLyricsStep> LyricsStepAt(const std::vector<TLrcLineTime>& Lines, double Seconds,
                                        int LineHeight);

// The highlight's grey after the line has moved Pixels: 81 + 30 p for 1..5 (111 to 231), 231 - 30 (p - 6) for
// 6..11 (231 down to 81); Previous otherwise.
int LyricsGreyLevel(int Pixels, int Previous);
