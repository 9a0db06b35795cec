#pragma once
// Picture-in-picture: two media files played in one graph, file A full size in mixer stream 0 and file B as
// the small picture in stream 1 of the mixing renderer; the small picture's layout (five standard positions
// or a free rectangle in percent), the swap of the two pictures and the [Pip] position keys.
//
// Every operation on the small picture acts on PipSmallStream through the mixer of the renderer in use
// (RenderType 1007 or 1009); under renderer 1000 there is no mixer and they do nothing.

#include <string>
#include <utility>

#include "core/PlaybackState.h"

// Opens FileA as the big picture and FileB as the small one in a new graph (the caller has stopped the
// previous medium); renderer 1007 or 1009 only. True when the pair plays (PlayType 3). An empty name or a
// file the graph cannot render shows "无效或错误的媒体文件!" and leaves nothing behind: the graph and its
// interfaces are released, and PlayType and the flags stay as they were.
bool OpenPip(const std::string& FileA, const std::string& FileB);
// The open with each renderer; the steps after the render are one procedure for both, its mixer calls going
// to the renderer in use.
bool OpenPipVmr7(const std::string& FileA, const std::string& FileB);
bool OpenPipVmr9(const std::string& FileA, const std::string& FileB);

// Takes the measured frame rate and size of file A or file B (by exact name) into FrameRate, VideoWidth and
// VideoHeight; any other name changes nothing.
void SelectPipMedia(const std::string& FileName);

// Lays the small picture out from [Pip]: PositionType 101 a standard position, 102 the stored edges (a span
// of 100 or more cut to 50), anything else nothing.
void ApplyPipPosition();
// Preset 1 top left, 2 top right, 3 bottom left, 4 bottom right, 5 centre: the small picture there, and
// SmallPosition and PositionType 101 written. Any other preset does nothing and writes nothing.
void SetPipStandardPosition(int Preset);
// The small picture at Left/100, Top/100, Right/100, Bottom/100 of the video (as given: reversed edges flip
// it); the four edges written, PositionType left to the caller. A rectangle without area (equal edges)
// changes nothing.
void SetPipCustomRect(int Left, int Top, int Right, int Bottom);

// Exchanges the big and the small picture (rectangles and the roles of the two streams; each stream keeps
// its alpha), then tells the play-list window which file is shown full size (WM_PLAYLIST_PIPITEM, lParam
// PipMainStream).
void SwapPip();
void SwapPipVmr7();
void SwapPipVmr9();

// The [Pip] position keys, each written only when its stored value differs (a drag moves the picture many
// times a second). Edges without area (equal left and right, or top and bottom) are not written.
void WritePipPositionType(int Value);
void WritePipSmallPosition(int Preset);
void WritePipRect(int Left, int Top, int Right, int Bottom);

// Calls Action with the mixer of the renderer in use when there is one: the VMR-7 mixer for RenderType
// 1007, the VMR-9 mixer for 1009. False when there is none (renderer 1000, nothing open).
template <class Action> bool WithPipMixer(Action&& A) {
    if (State.RenderType == RenderTypes::Vmr7 && State.Vmr7MixerControl) {
        std::forward<Action>(A)(*State.Vmr7MixerControl);
        return true;
    }
    if (State.RenderType == RenderTypes::Vmr9 && State.Vmr9MixerControl) {
        std::forward<Action>(A)(*State.Vmr9MixerControl);
        return true;
    }
    return false;
}
