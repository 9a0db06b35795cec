#include "tests/support/FakeGraph.h"

#include "core/PlaybackState.h"

namespace testing_support {

com::ComPtr<FakeGraph> PlayFakeGraph(std::int64_t Stop) {
    auto graph = com::ComPtr<FakeGraph>::Adopt(new FakeGraph());
    graph->stop = Stop;
    State.MediaSeeking = graph;
    State.MediaControl = graph;
    State.IsPlaying = true;
    State.IsPaused = false;
    State.PositionReady = true;
    return graph;
}

} // namespace testing_support
