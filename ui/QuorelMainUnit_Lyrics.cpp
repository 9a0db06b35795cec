// The lyrics display over the video panel: the lyrics file of an audio file (named from its tag), the whole
// text scrolling up in Lrc_L, the current line again in LightLrc_L fading in and out at the middle, and a
// drag of the text that seeks the audio to the line dragged to the middle.

#include "ui/QuorelMainUnit.h"

#include <algorithm>
#include <cmath>

#include "core/PlaybackState.h"
#include "core/shared/PathEndings.h"
#include "core/shared/TimeSplit.h"
#include "core/TagsAndLyrics.h"
#include "platform/audio/Bass.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/Files.h"
#include "ui/QuorelMainUnit_Lyrics.h"
#include "ui/QuorelMainUnit_Progress.h"

using namespace forms;

namespace {

const std::string kGuide = "-----------------------------------------------";

// A label's top from a sum that may leave int in a hand-made file of a million lines.
int LabelTop(std::int64_t Top) {
    return static_cast<int>(std::clamp<std::int64_t>(Top, -(std::int64_t{1} << 30), std::int64_t{1} << 30));
}

} // namespace

std::int64_t LyricsHundredths(double Seconds) {
    constexpr double Bound = 1e13;
    if (!(Seconds > -Bound)) // NaN too
        Seconds = -Bound;
    return std::llround(std::min(Seconds, Bound) * 100.0);
}

std::vector<TLrcLineTime> LyricsLineTimes(const TStringList& Times, double AudioLength) {
    std::vector<TLrcLineTime> lines;
    lines.reserve(static_cast<std::size_t>(Times.Count()));
    for (int i = 0; i < Times.Count(); ++i)
        lines.push_back(
            {LrcTimeValue(Times[i]), i + 1 < Times.Count() ? LrcTimeValue(Times[i + 1]) : AudioLength});
    return lines;
}

unsigned FirstLyricsInterval(double FirstSeconds) {
    return FirstSeconds > 0.0 ? static_cast<unsigned>(std::min(FirstSeconds * 1000.0 / 20.0, 2.0e9)) : 0u;
}

int LyricsLineAt(const std::vector<TLrcLineTime>& Lines, double Seconds, int* LinesLookedAt) {
    const std::int64_t t = LyricsHundredths(Seconds);
    int looked = 0;
    // The first line starting after t; lines before the one ahead of it end where the next starts, at or
    // before t.
    std::size_t low = 0, high = Lines.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        ++looked;
        if (LyricsHundredths(Lines[middle].Start) <= t)
            low = middle + 1;
        else
            high = middle;
    }
    int line = -1;
    if (low > 0) {
        ++looked;
        if (t < LyricsHundredths(Lines[low - 1].Next))
            line = static_cast<int>(low - 1);
    }
    if (LinesLookedAt != nullptr)
        *LinesLookedAt = looked;
    return line;
}

std::optional<TLyricsStep> LyricsStepAt(const std::vector<TLrcLineTime>& Lines, double Seconds,
                                        int LineHeight) {
    const int b = LyricsLineAt(Lines, Seconds);
    if (b < 0)
        return std::nullopt;
    const TLrcLineTime& line = Lines[static_cast<std::size_t>(b)];
    const std::int64_t start = LyricsHundredths(line.Start);
    // One line height during the line's time; at least 1 ms, as a short line in a tall font would otherwise
    // give 0 and divide by it below. Rounded half to even; no longer than the timer takes.
    const std::int64_t span = (LyricsHundredths(line.Next) - start) * 10;
    const std::int64_t interval = std::clamp<std::int64_t>(
        std::llrint(static_cast<double>(span) / std::max(1, LineHeight)), 1, 0x7FFFFFFF);
    const std::int64_t pixels = (LyricsHundredths(Seconds) - start) * 10 / interval;
    return TLyricsStep{b, static_cast<unsigned>(interval),
                       static_cast<int>(std::min<std::int64_t>(pixels, std::int64_t{1} << 30))};
}

int LyricsGreyLevel(int Pixels, int Previous) {
    if (Pixels >= 1 && Pixels <= 5)
        return 81 + 30 * Pixels;
    if (Pixels >= 6 && Pixels <= 11)
        return 231 - 30 * (Pixels - 6);
    return Previous;
}

void TQuorelMain_Form::BindLyrics() {
    ShowLrc_T->SetOnTimer([this](TObject* Sender) { ShowLrc_TTimer(Sender); });
    Lrc_L->SetAlignment(taCenter);
    for (TLabel* label : {Lrc_L, LightLrc_L}) {
        label->SetCursor(crHandPoint);
        label->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
            Lrc_LMouseDown(Sender, Button, Shift, X, Y);
        };
        label->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
            Lrc_LMouseMove(Sender, Shift, X, Y);
        };
        label->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
            Lrc_LMouseUp(Sender, Button, Shift, X, Y);
        };
    }
    lTime_L->Hide();
    rTime_L->Hide();
}

void TQuorelMain_Form::FindLyricsFile() {
    Lrc_L->SetCaption("");
    LightLrc_L->SetCaption("");
    Lrc_L->SetTop(Lrc_p->Height() / 2 + 20);
    const std::string name = IncludeTrailingSlash(State.LrcDir) + State.LrcFileName;
    if (win32::FileExists(name))
        LoadLyricsFile(name);
    else
        ClearLyrics();
}

void TQuorelMain_Form::ClearLyrics() {
    State.LrcTimes->Clear();
    State.LrcTexts->Clear();
    State.LrcLineTimes.clear();
    // The scroll of the lyrics before goes no further.
    ShowLrc_T->SetEnabled(false);
    Lrc_L->SetCaption("");
    Lrc_L->Hide();
    LightLrc_L->SetCaption("");
}

void TQuorelMain_Form::LoadLyricsFile(const std::string& FileName) {
    State.LrcTimes->Clear();
    State.LrcTexts->Clear();
    State.LrcLineTimes.clear();
    if (!win32::FileExists(FileName))
        return;
    // A lyrics file that cannot be read, or holds no timed line, is no lyrics: the audio open goes on.
    std::optional<std::string> bytes = win32::ReadWholeFile(FileName);
    if (!bytes) {
        ClearLyrics();
        return;
    }
    ReadLrcText(*bytes, *State.LrcTimes, *State.LrcTexts);
    if (State.LrcTimes->Empty()) {
        ClearLyrics();
        return;
    }
    Lrc_L->SetVisible(true);
    std::string caption;
    for (const std::string& text : *State.LrcTexts)
        caption += text + "\r\n";
    Lrc_L->SetCaption(caption);
    Lrc_L->SetLeft((Video_P->Width() - Lrc_L->Width()) / 2);
    // The label's own font and line pitch: its lines are drawn exactly this far apart.
    LrcLineHeight = std::max(1, Lrc_L->LineHeight());
    State.LrcLineTimes = LyricsLineTimes(*State.LrcTimes, State.AudioLength);
    ShowLrc_T->SetInterval(FirstLyricsInterval(State.LrcLineTimes.front().Start));
    ShowLrc_T->SetEnabled(true);
}

void TQuorelMain_Form::ShowLrc_TTimer(TObject*) {
    Lrc_L->SetTop(Lrc_L->Top() - 1);
    LightLrc_L->SetTop(LightLrc_L->Top() - 1);
}

void TQuorelMain_Form::LyricsStep(double Seconds) {
    if (LrcDragging || State.LrcLineTimes.empty() || State.LrcTexts->Empty() || State.LrcTimes->Empty())
        return;
    // 1.-3. The line playing now, found without walking the lines (the audio tick runs every millisecond);
    // before the first line the scroll timer moves the text on its own.
    const std::optional<TLyricsStep> step = LyricsStepAt(State.LrcLineTimes, Seconds, LrcLineHeight);
    if (!step || step->Line >= State.LrcTexts->Count())
        return;
    ShowLrc_T->SetInterval(step->Interval);
    // 4.-5.
    LightLrc_L->SetCaption((*State.LrcTexts)[step->Line]);
    LightLrc_L->SetLeft((Lrc_p->Width() - LightLrc_L->Width()) / 2);
    const int mid = Lrc_p->Height() / 2;
    Lrc_L->SetTop(LabelTop(std::int64_t{mid} - std::int64_t{step->Line} * LrcLineHeight - step->Pixels));
    LightLrc_L->SetTop(LabelTop(std::int64_t{mid} - step->Pixels));
    // 6. The current line lights up over its first pixels and fades again.
    if (step->Pixels < 1 || step->Pixels > 11)
        return;
    LrcGreyLevel = LyricsGreyLevel(step->Pixels, LrcGreyLevel);
    const auto colour = static_cast<TColor>(win32::RGB(LrcGreyLevel, LrcGreyLevel, LrcGreyLevel));
    if (LightLrc_L->Font().Color() != colour)
        LightLrc_L->Font().SetColor(colour);
}

void TQuorelMain_Form::PlaceLyricsAtPosition() {
    if (LrcDragging || State.LrcLineTimes.empty() || State.PlayType != PlayTypes::Audio || !State.IsPlaying)
        return;
    const double seconds = TwoDecimals(CurrentAudioSeconds());
    const double first = State.LrcLineTimes.front().Start;
    if (seconds < first) {
        // As far up as the scroll timer has moved the text since the open: 20 pixels by the first line's
        // time.
        Lrc_L->SetTop(Lrc_p->Height() / 2 + 20 - static_cast<int>(20.0 * seconds / first));
        return;
    }
    LyricsStep(seconds);
}

// --- Dragging the text to seek. ---

void TQuorelMain_Form::Lrc_LMouseDown(TObject*, TMouseButton Button, TShiftState, int, int Y) {
    if (Button == mbLeft)
        BeginLyricsDrag(Y);
}

void TQuorelMain_Form::Lrc_LMouseMove(TObject*, TShiftState Shift, int, int Y) {
    DragLyrics(Shift, Y);
}

void TQuorelMain_Form::Lrc_LMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
    if (Button != mbLeft || !LrcDragging)
        return;
    LrcDragging = false;
    // The text scrolls on only while the audio plays: paused, no lyrics step would correct it.
    if (State.IsPlaying && !State.IsPaused)
        ShowLrc_T->SetEnabled(true);
    lTime_L->Hide();
    rTime_L->Hide();
    bass::BASS_ChannelSetPosition(
        State.BassStream,
        bass::BASS_ChannelSeconds2Bytes(State.BassStream, static_cast<double>(LrcSeekSeconds)),
        bass::BASS_POS_BYTE);
}

void TQuorelMain_Form::BeginLyricsDrag(int Y) {
    if (State.LrcLineTimes.empty())
        return;
    // The press has captured the mouse for the label (the class library does so for every control), so the
    // moves and the release come to the label that was grabbed.
    LrcDragging = true;
    ShowLrc_T->SetEnabled(false);
    LrcDragStartY = Y;
    ShowLyricsDragTarget();
    const int top = (Lrc_p->Height() - lTime_L->Height()) / 2;
    lTime_L->SetLeft(4);
    lTime_L->SetTop(top);
    rTime_L->SetTop(top);
    rTime_L->SetLeft(Lrc_p->Width() - rTime_L->Width() - 4);
    lTime_L->Show();
    rTime_L->Show();
}

void TQuorelMain_Form::DragLyrics(TShiftState Shift, int Y) {
    if ((Shift & ssLeft) == 0 || !LrcDragging)
        return;
    // Y is relative to the label, which moves along: the grabbed point stays under the pointer.
    const int down = Y - LrcDragStartY;
    Lrc_L->SetTop(Lrc_L->Top() + down);
    LightLrc_L->SetTop(LightLrc_L->Top() + down);
    ShowLyricsDragTarget();
}

void TQuorelMain_Form::ShowLyricsDragTarget() {
    const auto& lines = State.LrcLineTimes;
    const int d = Lrc_p->Height() / 2 - Lrc_L->Top();
    const int i = std::clamp(d / LrcLineHeight, 0, static_cast<int>(lines.size()) - 1);
    const double seconds = ShowLrc_T->Interval() * static_cast<double>(d - i * LrcLineHeight) / 1000.0 +
                           lines[static_cast<std::size_t>(i)].Start;
    // Within the stream: a seek past its end would be refused.
    const double last = std::max(0.0, std::floor(State.AudioLength));
    LrcSeekSeconds = static_cast<std::int64_t>(std::clamp(std::trunc(seconds), 0.0, last));
    std::int64_t h = 0, m = 0, s = 0;
    SecondsToHms(h, m, s, LrcSeekSeconds);
    const std::string time = HmsText(h, m, s);
    lTime_L->SetCaption(time + "  " + kGuide);
    rTime_L->SetCaption(kGuide + "  " + time);
}
