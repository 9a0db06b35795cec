// The companion windows seen from the main window: the two labels that show the play-list and capture-list
// windows, and the capture commands.

#include "ui/QuorelMainUnit.h"

using namespace forms;

// Not built yet: showing (or creating) the play-list window.
void TQuorelMain_Form::PL_LClick(TObject*) {}

// Not built yet: showing (or creating) the capture-list window.
void TQuorelMain_Form::CL_LClick(TObject*) {}

// Not built yet: the capture button (the capture-list window, then the capture).
void TQuorelMain_Form::Capture_XIClick(TObject*) {}

// Not built yet: capturing the current frame. Its key reaches it while the item is disabled, so it must do
// nothing without a medium open.
void TQuorelMain_Form::pCapturescreenClick(TObject*) {}
