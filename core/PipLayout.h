#pragma once
// Picture-in-picture: opening a pair of media files and the layout of the small picture. Not built yet:
// nothing opens and nothing is swapped.

#include <string>

// Opens FileA as the big picture and FileB as the small one in one graph (renderers 1007 and 1009 only); the
// pair then plays (IsPlaying) with PlayType 3. Not built yet: nothing plays.
void OpenPip(const std::string& FileA, const std::string& FileB);
// Exchanges the big and the small picture.
void SwapPip();
