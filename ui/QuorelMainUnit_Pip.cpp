// The picture-in-picture commands of the main window: opening a pair through the open-pair dialog, the items
// of the pPip submenu (the setup dialog, standard positions, swap, orientation, the default picture), their
// enabled state, and the video panel's share in dragging the small picture.

#include "ui/QuorelMainUnit.h"

#include <QEvent>
#include <QGuiApplication>

#include "core/DialogLaunchers.h"
#include "core/MediaOpen.h"
#include "core/MenuSettings.h"
#include "core/PipEdit.h"
#include "core/PipLayout.h"
#include "core/PlaybackState.h"
#include "platform/win32/Window.h"
#include "ui/OpenPipForm.h"
#include "ui/PipSetupForm.h"

using namespace forms;

namespace {

// The screen cursor that the small picture's hover or drag set does not stay over the rest of the program:
// it goes back to the arrow when the mouse leaves the video with no button held, also when the release of a
// drag never reached the panel (another window took the mouse).
class PipCursorGuard : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::Leave && QGuiApplication::mouseButtons() == Qt::NoButton)
            RestorePipCursor();
        return QObject::eventFilter(Watched, Event);
    }
};

} // namespace

void TQuorelMain_Form::BindPip() {
    pOpenpictureinpicture->OnClick = [this](TObject* Sender) { pOpenpictureinpictureClick(Sender); };
    pLefttop->OnClick = [this](TObject* Sender) { pLefttopClick(Sender); };
    pRighttop->OnClick = [this](TObject* Sender) { pRighttopClick(Sender); };
    pLeftbottom->OnClick = [this](TObject* Sender) { pLeftbottomClick(Sender); };
    pRightbottom->OnClick = [this](TObject* Sender) { pRightbottomClick(Sender); };
    pCenter->OnClick = [this](TObject* Sender) { pCenterClick(Sender); };
    pPicswap->OnClick = [this](TObject* Sender) { pPicswapClick(Sender); };
    pNoreverse->OnClick = [this](TObject* Sender) { pNoreverseClick(Sender); };
    pUpdownreverse->OnClick = [this](TObject* Sender) { pUpdownreverseClick(Sender); };
    pLeftrightreverse->OnClick = [this](TObject* Sender) { pLeftrightreverseClick(Sender); };
    pPicRestore->OnClick = [this](TObject* Sender) { pPicRestoreClick(Sender); };
    pPipsetup->OnClick = [this](TObject* Sender) { pPipsetupClick(Sender); };
    pPicalpha->OnClick = [this](TObject* Sender) { pPicalphaClick(Sender); };
    // pCompletereverse has no handler: choosing it does nothing.

    // The menu shows the pPip items' state each time it opens (as part of its own pop-up handling when that
    // is bound).
    if (!Main_Pop->OnPopup)
        Main_Pop->OnPopup = [this](TObject*) { UpdatePipMenus(); };

    // The video panel's picture-in-picture steps of its press, release and move.
    if (!Video_P->OnMouseDown)
        Video_P->OnMouseDown = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
            BeginPipDrag(State.PipSmallStream, X, Y, State.VideoPanelHandle, Button);
            IgnoreNextVideoMove = true;
        };
    if (!Video_P->OnMouseUp)
        Video_P->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
            if (State.PlayType == PlayTypes::Pip && State.PipDragging) {
                RestorePipCursor();
                PlayCommand();
                State.PipDragging = false;
            }
            win32::ReleaseCapture();
        };
    if (!Video_P->OnMouseMove)
        Video_P->OnMouseMove = [this](TObject*, TShiftState Shift, int X, int Y) {
            if (State.PlayType != PlayTypes::Pip)
                return;
            UpdatePipOrientation();
            if (!IgnoreNextVideoMove)
                PipMouseMove(State.VideoPanelHandle, State.PipSmallStream, X, Y, Shift);
            IgnoreNextVideoMove = false;
        };
    Video_P->installEventFilter(new PipCursorGuard(Video_P));
}

void TQuorelMain_Form::OpenPipCommand() {
    if (State.RenderType == RenderTypes::OwnRenderer) {
        Application().MessageBox("Picture in picture feature can only run under the VMR7 and VMR9 modes",
                                 "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
        return;
    }
    int result = 0;
    ShowOpenPipDialog(Handle(), State.Language, result);
    if (result != 1 || State.pipMediaFileA.empty() || State.pipMediaFileB.empty())
        return;
    SetPipPlayList();
    State.PlayRate = 1.0;
    StopByType();
    OpenPip(State.pipMediaFileA, State.pipMediaFileB);
    if (State.IsPlaying)
        PlaceVideoInWindow();
    ShowPipOpened();
    FullScreenAtOnce();
}

void TQuorelMain_Form::SetPipPlayList() {
    TStringList pair;
    pair.Add(State.pipMediaFileA);
    pair.Add(State.pipMediaFileB);
    SetPlayList(pair);
}

void TQuorelMain_Form::pOpenpictureinpictureClick(TObject*) {
    OpenPipCommand();
}

void TQuorelMain_Form::pLefttopClick(TObject*) {
    SetPipStandardPosition(PipPositions::TopLeft);
}

void TQuorelMain_Form::pRighttopClick(TObject*) {
    SetPipStandardPosition(PipPositions::TopRight);
}

void TQuorelMain_Form::pLeftbottomClick(TObject*) {
    SetPipStandardPosition(PipPositions::BottomLeft);
}

void TQuorelMain_Form::pRightbottomClick(TObject*) {
    SetPipStandardPosition(PipPositions::BottomRight);
}

void TQuorelMain_Form::pCenterClick(TObject*) {
    SetPipStandardPosition(PipPositions::Centre);
}

void TQuorelMain_Form::pPicswapClick(TObject*) {
    SwapPip();
}

void TQuorelMain_Form::pNoreverseClick(TObject*) {
    if (State.PlayType == PlayTypes::Pip)
        NormalizePip(pNoreverse, false);
}

void TQuorelMain_Form::pUpdownreverseClick(TObject*) {
    if (State.PlayType == PlayTypes::Pip)
        FlipPipVertical(pUpdownreverse, false);
}

void TQuorelMain_Form::pLeftrightreverseClick(TObject*) {
    if (State.PlayType == PlayTypes::Pip)
        MirrorPip(pLeftrightreverse, false);
}

void TQuorelMain_Form::pPicRestoreClick(TObject*) {
    SetPipStandardPosition(PipPositions::Centre);
}

void TQuorelMain_Form::pPipsetupClick(TObject*) {
    ShowPipSetupDialog(Handle(), 0, State.Language);
}

void TQuorelMain_Form::pPicalphaClick(TObject*) {
    ShowPipSetupDialog(Handle(), 1, State.Language);
}

void TQuorelMain_Form::UpdatePipMenus() {
    ::UpdatePipMenus(PipMenuItems, PipReverseMenuItems);
}
