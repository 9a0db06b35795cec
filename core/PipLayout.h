#pragma once
// Picture-in-picture: opening a pair of media files and the layout of the small picture. Not built yet:
// nothing opens and nothing is swapped.

#include <string>

// Opens FileA as the big picture and FileB as the small one in one graph (renderers 1007 and 1009 only); the
// pair then plays (IsPlaying) with PlayType 3. Not built yet: nothing plays.
void OpenPip(const std::string& FileA, const std::string& FileB);
// Exchanges the big and the small picture.
void SwapPip();
// Puts the small picture at a preset place: 1 top left, 2 top right, 3 bottom left, 4 bottom right, 5 centre.
// Not built yet: nothing moves.
void SetPipStandardPosition(int Preset);
