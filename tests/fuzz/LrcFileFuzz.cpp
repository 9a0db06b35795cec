// Fuzzes a whole lyrics file as the lyrics display takes it, with its timing arithmetic: the input's first
// four bytes give the stream's length (hundredths of a second) and the fifth the line height, the rest is
// the file. The lines come in ascending order of time, each with its text; the line found for a position is
// the one the rule names (the first with Start <= t < Next), and the lyrics step gives a scroll interval of
// at least 1 ms, pixels that are never negative and a highlight grey between 81 and 231, with no arithmetic
// leaving its range (a time of 10^300 seconds is a line of text like any other).

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/TagsAndLyrics.h"
#include "platform/forms/StringList.h"
#include "tests/fuzz/FuzzCheck.h"
#include "ui/QuorelMainUnit_Lyrics.h"

namespace {

void Check(bool Holds, const char* What) {
    FuzzCheck(Holds, "lrc file", What);
}

int LinearLineAt(const std::vector<TLrcLineTime>& Lines, double Seconds) {
    const std::int64_t t = LyricsHundredths(Seconds);
    for (std::size_t i = 0; i < Lines.size(); ++i)
        if (LyricsHundredths(Lines[i].Start) <= t && t < LyricsHundredths(Lines[i].Next))
            return static_cast<int>(i);
    return -1;
}

void CheckAt(const std::vector<TLrcLineTime>& Lines, double Seconds, int LineHeight) {
    const int line = LyricsLineAt(Lines, Seconds);
    Check(line == LinearLineAt(Lines, Seconds), "the line found is the first that holds the position");
    const std::optional<TLyricsStep> step = LyricsStepAt(Lines, Seconds, LineHeight);
    Check(step.has_value() == (line >= 0), "a step exactly when a line plays");
    if (!step)
        return;
    Check(step->Line == line, "the step's line is the line found");
    Check(step->Interval >= 1 && step->Interval <= 0x7FFFFFFFu, "the interval is a timer's");
    Check(step->Pixels >= 0, "the pixels are never negative");
    const int grey = LyricsGreyLevel(step->Pixels, -1);
    Check(grey == -1 ? (step->Pixels < 1 || step->Pixels > 11) : (grey >= 81 && grey <= 231),
          "the grey lies between 81 and 231");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    std::uint32_t length = 0;
    int lineHeight = 15;
    std::string_view file(reinterpret_cast<const char*>(Data), Size);
    if (Size >= 5) {
        std::memcpy(&length, Data, 4);
        lineHeight = 1 + Data[4] % 64;
        file.remove_prefix(5);
    }
    const double audioLength = length / 100.0;

    forms::TStringList times, texts;
    ReadLrcText(file, times, texts);
    Check(times.Count() == texts.Count(), "each time has its text");
    const std::vector<TLrcLineTime> lines = LyricsLineTimes(times, audioLength);
    Check(lines.size() == static_cast<std::size_t>(times.Count()), "one line time a line");
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        Check(lines[i].Start <= lines[i + 1].Start, "the lines come in ascending order of time");
        Check(lines[i].Next == lines[i + 1].Start, "a line ends where the next begins");
    }
    if (lines.empty())
        return 0;
    FirstLyricsInterval(lines.front().Start);

    // At each line's start and around its end, and before, between and after all lines (a few hundred at
    // most, so that a long file still runs quickly).
    const std::size_t stride = lines.size() / 64 + 1;
    for (std::size_t i = 0; i < lines.size(); i += stride) {
        for (double t : {lines[i].Start, lines[i].Start + 0.01, (lines[i].Start + lines[i].Next) / 2,
                         lines[i].Next - 0.01, lines[i].Next})
            CheckAt(lines, t, lineHeight);
    }
    for (double t : {-1.0, 0.0, audioLength, audioLength + 1.0, 1e300})
        CheckAt(lines, t, lineHeight);
    return 0;
}
