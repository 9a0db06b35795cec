#pragma once
// Clips for frame captures, made at test time: pictures that change with time, so that a capture shows which
// moment it took.

#include <string>

namespace testing_support {

// 176 x 144 at 25 fps, 2 s, video only: pure red for the first second, pure blue for the second.
const std::string& RedThenBlueClip();
// 320 x 240 at 25 fps, 10 s, with a tone: a moving test picture (every frame differs from the one before).
const std::string& MovingPictureClip();

} // namespace testing_support
