#pragma once
// What a stream's pipeline is set to, for tests that must see the effect of a call without listening.

#include "platform/audio/Bass.h"

namespace bass::probe {

// The linear gain the stream's volume element applies; negative for an invalid handle.
double OutputGain(DWORD handle);

// How many equaliser bands the stream's effects use (0 before the first effect; -1 for an invalid handle).
int EqualizerBands(DWORD handle);

// The largest absolute gain in decibels over the stream's equaliser bands: 0 while all are neutral.
double LargestEqualizerGain(DWORD handle);

} // namespace bass::probe
