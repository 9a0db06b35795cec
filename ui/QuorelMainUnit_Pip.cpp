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
    // The items of pPip, the open-pair item and the video panel's press, move and release are routes
    // (BindRoutes); the press, move and release take their picture-in-picture steps from here.
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
    // The play-list window shows the pair's two files, not the rows of what played before.
    ReloadPlayListWindow();
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
    if (State.PlayType == PlayTypes::Pip)
        ShowPipSetupDialog(Handle(), 0, State.Language);
}

void TQuorelMain_Form::pPicalphaClick(TObject*) {
    ShowPipSetupDialog(Handle(), 1, State.Language);
}

void TQuorelMain_Form::UpdatePipMenus() {
    ::UpdatePipMenus(PipMenuItems, PipReverseMenuItems);
}
