#pragma once
// How many GStreamer pipelines made since counting began still exist, so that a test sees whether a layer
// lets go of its pipelines (a pipeline kept alive by a stray reference keeps its elements, buffers and file
// with it). Counted through GStreamer's tracing hooks for object creation and destruction, on every thread.

namespace testing_support {

// Starts counting on the first call; pipelines made before it are never counted.
void CountPipelines();
// The pipelines made since CountPipelines that have not been destroyed yet.
int LivePipelines();
// Likewise, once it is Expected or a second has passed: the last reference to a pipeline that was let go may
// still be dropped by one of GStreamer's threads a moment later (on a busy machine), which is no pipeline
// outliving its owner.
int LivePipelinesSettlingAt(int Expected);

} // namespace testing_support
