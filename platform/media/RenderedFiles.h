#pragma once
// What a graph learnt of the files it has just rendered (their streams as decoded and their length), kept so
// that the media detector asked about the same file next does not decode it a second time. An entry holds
// only while the file is unchanged (same size and modification time); the last few files are kept.

#include <optional>
#include <string>
#include <vector>

namespace dshow {

struct RenderedStream {
    bool video = false;
    int width = 0, height = 0; // video: the picture as stored (before any pixel aspect)
    double frameRate = 0.0;    // video: 0 when the stream does not say
    int channels = 0, sampleRate = 0;
};

struct RenderedFile {
    std::vector<RenderedStream> streams; // video streams first, each kind in the file's order
    double length = 0.0;                 // seconds
};

void RememberRenderedFile(const std::string& Path, RenderedFile Facts);
std::optional<RenderedFile> RenderedFileFacts(const std::string& Path);

} // namespace dshow
