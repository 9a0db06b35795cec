#pragma once
// The source element of the DVD graph: a GStreamer element that reads the disc through a DvdNavigator on a
// streaming thread of its own and pushes the program stream on (video/mpeg, systemstream), in time segments
// that start at the navigator's run start, with the rate of the navigator.
//
// What the subpicture overlay must be told (palette, button highlight, forced pictures only) goes to it
// directly as out-of-band events, through OverlayEvents, not along the stream: the demuxer makes its outputs
// only as their data comes, and would lose what comes before. Still pictures are announced downstream with
// the video library's still-frame events; the end of the disc is the end of the stream.
//
// A command that moves the disc elsewhere runs inside Jump: the pipeline is flushed first (the streaming
// thread is then idle), the command runs, and reading starts a new run after it.

#include <functional>
#include <memory>

#include <gst/gst.h>

#include "platform/media/DvdNavigator.h"

namespace dshow {

// The element (floating reference), reading Navigator. OverlayEvents gets the overlay's events (owning
// them); it runs on the streaming thread.
GstElement* CreateDvdSource(std::shared_ptr<DvdNavigator> Navigator,
                            std::function<void(GstEvent*)> OverlayEvents);

// Runs Command with the pipeline below Source flushed: what was read ahead is dropped and a new run starts.
// Without a running stream the command simply runs. Returns the command's result.
bool DvdSourceJump(GstElement* Source, const std::function<bool()>& Command);

} // namespace dshow
