#pragma once
// The DVD the tests play, authored at test time by make_dvd_fixture.sh (ffmpeg, spumux, dvdauthor): a manager
// menu with two buttons that waits for one (or, on the disc that plays on, goes on to title 1 by itself), a
// title-set menu with three buttons, title 1 of 12 s in three chapters with two audio and two subpicture
// streams, and title 2 of 6 s. Made once per test program, on first use, in a folder removed when the program
// ends.

#include <string>

namespace testing_support {

// The disc: a folder holding VIDEO_TS (the test fails when it cannot be made).
const std::string& DvdDisc();
// The same disc whose manager menu stands for DvdMenuPauseSeconds and then plays title 1 by itself: left
// alone, it plays its menu, title 1 and title 2, and ends.
const std::string& DvdDiscThatPlaysOn();
inline constexpr int DvdMenuPauseSeconds = 3;
// A copy of the disc's folder (DvdDisc unless Disc names another) under Folder, as Folder/disc (for tests
// that damage a disc, or need it in a folder of their own); the copy's path.
std::string CopyOfDvdDisc(const std::string& Folder, const std::string& Disc = {});

// Where things are on the disc's pictures (720 x 576 pixels).
struct DvdRect {
    int left, top, right, bottom;
    int CentreX() const { return (left + right) / 2; }
    int CentreY() const { return (top + bottom) / 2; }
};
inline constexpr DvdRect ManagerMenuButtons[] = {{196, 176, 524, 244}, {196, 316, 524, 384}};
inline constexpr DvdRect TitleSetMenuButtons[] = {
    {196, 136, 524, 204}, {196, 256, 524, 324}, {196, 376, 524, 444}};
inline constexpr int DvdPictureWidth = 720, DvdPictureHeight = 576;

} // namespace testing_support
