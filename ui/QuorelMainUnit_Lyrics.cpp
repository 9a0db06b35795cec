// The lyrics display over the video panel. Not built yet: no lyrics are found for an audio file and the
// lyrics step of the audio tick does nothing.

#include "ui/QuorelMainUnit.h"

void TQuorelMain_Form::LyricsStep(double) {}

void TQuorelMain_Form::FindLyricsFile() {}
