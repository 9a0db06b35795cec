// The picture-in-picture commands of the main window: opening two files as picture-in-picture and the items
// of the main menu that place, turn and set up the small picture.

#include "core/DialogLaunchers.h"
#include "core/PipEdit.h"
#include "core/PipLayout.h"
#include "core/PlaybackState.h"
#include "ui/QuorelMainUnit.h"

using namespace forms;

void TQuorelMain_Form::pOpenpictureinpictureClick(TObject*) {
    OpenPipCommand();
}

// Not built yet: choosing the two files and opening them.
void TQuorelMain_Form::OpenPipCommand() {}

void TQuorelMain_Form::pPipsetupClick(TObject*) {
    if (State.PlayType == PlayTypes::Pip)
        ShowPipSetupDialog(Application().Handle(), 0, State.Language);
}

void TQuorelMain_Form::pLefttopClick(TObject*) {
    SetPipStandardPosition(1);
}
void TQuorelMain_Form::pRighttopClick(TObject*) {
    SetPipStandardPosition(2);
}
void TQuorelMain_Form::pLeftbottomClick(TObject*) {
    SetPipStandardPosition(3);
}
void TQuorelMain_Form::pRightbottomClick(TObject*) {
    SetPipStandardPosition(4);
}
void TQuorelMain_Form::pCenterClick(TObject*) {
    SetPipStandardPosition(5);
}
void TQuorelMain_Form::pPicRestoreClick(TObject*) {
    SetPipStandardPosition(5);
}

void TQuorelMain_Form::pPicalphaClick(TObject*) {
    ShowPipSetupDialog(Application().Handle(), 1, State.Language);
}

void TQuorelMain_Form::pPicswapClick(TObject*) {
    SwapPip();
}

void TQuorelMain_Form::pNoreverseClick(TObject* Sender) {
    if (State.PlayType == PlayTypes::Pip)
        NormalizePip(Sender, false);
}

void TQuorelMain_Form::pUpdownreverseClick(TObject* Sender) {
    if (State.PlayType == PlayTypes::Pip)
        FlipPipVertical(Sender, false);
}

void TQuorelMain_Form::pLeftrightreverseClick(TObject* Sender) {
    if (State.PlayType == PlayTypes::Pip)
        MirrorPip(Sender, false);
}
