#include "tests/support/CaptureFixtures.h"

#include <gtest/gtest.h>

#include "tests/support/MediaFixtures.h"

namespace testing_support {

namespace {

const std::string& Made(const std::string& Name, const std::string& Description) {
    static std::string paths[2];
    std::string& path = Name == "red-then-blue.mp4" ? paths[0] : paths[1];
    if (path.empty()) {
        const std::string file = FixtureFolder() + "/" + Name;
        if (!MakeMediaFile(Description, file))
            ADD_FAILURE() << "could not make " << file;
        path = file;
    }
    return path;
}

std::string SolidSecond(const char* Colour) {
    return std::string("videotestsrc num-buffers=25 pattern=") + Colour +
           " ! video/x-raw,format=I420,width=176,height=144,framerate=25/1 ! c. ";
}

} // namespace

const std::string& RedThenBlueClip() {
    return Made("red-then-blue.mp4",
                "concat name=c ! x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! "
                "mp4mux ! filesink location={out} " +
                    SolidSecond("red") + SolidSecond("blue"));
}

const std::string& MovingPictureClip() {
    return Made(
        "moving.mp4",
        "videotestsrc num-buffers=250 pattern=smpte horizontal-speed=4 ! "
        "video/x-raw,format=I420,width=320,height=240,framerate=25/1 ! "
        "x264enc speed-preset=ultrafast key-int-max=25 ! h264parse ! mp4mux name=mux ! "
        "filesink location={out} "
        "audiotestsrc num-buffers=100 samplesperbuffer=4410 volume=0.3 ! audio/x-raw,rate=44100,channels=2 ! "
        "voaacenc ! aacparse ! mux.");
}

} // namespace testing_support
