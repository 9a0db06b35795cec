// The lyrics display over the video panel. Not built yet: the lyrics step of the audio tick does nothing.

#include "ui/QuorelMainUnit.h"

void TQuorelMain_Form::LyricsStep(double) {}
