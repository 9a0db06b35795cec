// The media commands that the main window's buttons, menus and start-up forward to. The enabling helpers
// are complete; the commands themselves come with the media-command work and do nothing yet.

#include "ui/QuorelMainUnit.h"

void TQuorelMain_Form::DisableImages(const TImageArray& Images) {
    for (tximage* image : Images)
        image->SetEnabled(false);
}

void TQuorelMain_Form::EnableImages(const TImageArray& Images) {
    for (tximage* image : Images)
        image->SetEnabled(true);
}

// Command line, stored lists and the last medium.
void TQuorelMain_Form::OpenCommandLineFiles() {}
void TQuorelMain_Form::OpenAtFirstActivation() {}
void TQuorelMain_Form::SaveLastStateAndLists() {}

// Media commands.
void TQuorelMain_Form::StopByType() {}
void TQuorelMain_Form::PlayCommand() {}
void TQuorelMain_Form::PauseCommand() {}
void TQuorelMain_Form::OpenFileDialog() {}
void TQuorelMain_Form::FullScreenCommand() {}

// The options command.
void TQuorelMain_Form::ShowOptions() {}
