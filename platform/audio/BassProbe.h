#pragma once
// What a stream's pipeline is set to, for tests that must see the effect of a call without listening, and
// faults that tests provoke in it.

#include <gst/gst.h>

#include "platform/audio/Bass.h"

namespace bass::probe {

// The linear gain the stream's volume element applies; negative for an invalid handle.
double OutputGain(DWORD handle);

// How many equaliser bands the stream's effects use (0 before the first effect; -1 for an invalid handle).
int EqualizerBands(DWORD handle);

// The largest absolute gain in decibels over the stream's equaliser bands: 0 while all are neutral.
double LargestEqualizerGain(DWORD handle);

// The bits of each sample that the stream's output is given (16 for 16-bit samples): 0 while no format is set
// (before the preroll), -1 for an invalid handle.
int OutputSampleBits(DWORD handle);

// Streams made from now on take the element that make gives (new and floating) for the desktop's output;
// nullptr gives them the desktop's again.
void UseDesktopOutput(GstElement* (*make)());

// Makes the stream's decoded data fail from the next buffer on, as a decoder that breaks in mid-stream does:
// the streaming stops with an error (and the end of the stream follows it). FALSE for an invalid handle.
BOOL BreakDecoding(DWORD handle);

// Makes the output fail from the next buffer on, as a sound device that goes away does: the streaming stops
// with an error, and the output never reaches the end of the stream. FALSE for an invalid handle.
BOOL BreakOutput(DWORD handle);

} // namespace bass::probe
