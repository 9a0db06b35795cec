#pragma once
// A graph with the mixing renderer 9 painting windowless into a 500 x 300 panel (a window of its own) with a
// border colour around the picture: what the player's default renderer is, for tests of the media layer.

#include <memory>

#include <QImage>
#include <QWidget>

#include "platform/com/Unknown.h"
#include "platform/media/Interfaces.h"
#include "tests/support/MediaFixtures.h"

namespace testing_support {

class WindowlessGraph {
public:
    explicit WindowlessGraph(dshow::COLORREF Border = 0);
    // Renders the fixture into the graph and places the video at (50, 0, 400, 300).
    dshow::HRESULT Render(MediaFixture Fixture);
    // The panel as Qt paints it.
    QImage Picture() const { return panel->grab().toImage(); }

    std::unique_ptr<QWidget> panel;
    com::ComPtr<dshow::IGraphBuilder> graph;
    com::ComPtr<dshow::IBaseFilter> vmr;
    com::ComPtr<dshow::IVMRWindowlessControl9> windowless;
    com::ComPtr<dshow::IVMRMixerControl9> mixer;
    com::ComPtr<dshow::IMediaControl> control;
    com::ComPtr<dshow::IMediaSeeking> seeking;
    com::ComPtr<dshow::IVideoFrameStep> step;
    com::ComPtr<dshow::IBasicAudio> audio;
};

} // namespace testing_support
