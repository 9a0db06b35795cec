// The DVD commands of the main window: opening the disc in a drive or a disc folder found under a chosen
// folder, the DVD navigation items of the pop-up menu (chapters, the disc's menus), and the subtitle, audio
// and angle submenus built at each pop-up with their click handlers.

#include "ui/QuorelMainUnit.h"

#include "core/DvdGraph.h"
#include "core/DvdNavigation.h"
#include "core/MediaOpen.h"
#include "core/PlaybackState.h"
#include "core/shared/PathEndings.h"
#include "core/WindowMessages.h"
#include "platform/forms/Dialogs.h"
#include "platform/win32/Window.h"
#include "ui/SelHardDiskDvdForm.h"

using namespace forms;

namespace {

void Inform(const std::string& Text) {
    Application().MessageBox(Text, "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
}

TMenuItem* ItemOf(TObject* Sender) {
    return dynamic_cast<TMenuItem*>(Sender);
}

} // namespace

// --- Opening. ---

void TQuorelMain_Form::OpenDvdDriveMenuClick(TObject* Sender) {
    const TMenuItem* item = ItemOf(Sender);
    if (item == nullptr || item->Caption().empty())
        return;
    // The drive's root at the start of the caption; the blank and the volume label after it are not part of
    // it.
    const std::string root = DvdDriveRootOf(item->Caption());
    if (root.empty())
        return;
    State.DvdPath = root;
    if (!IsDvdDriveReady(root)) {
        StopByType();
        Inform("Dvdrom no ready!");
        return;
    }
    // A disc that does not open is told, as for a folder, rather than shown as playing.
    OpenDvdAndShow(root);
}

// What plays stops, the disc opens and the window shows it; a disc that does not open is told.
void TQuorelMain_Form::OpenDvdAndShow(const std::string& Path) {
    StopByType();
    if (!OpenDvd(Path)) {
        Inform("Load Dvd file error!");
        return;
    }
    ReloadPlayListWindow();
    ShowDvdOpened();
    PlaceVideoInWindow();
    FullScreenAtOnce();
}

void TQuorelMain_Form::OpenDvdFolderCommand() {
    std::string folder;
    if (!SelectDirectory("请选择一个路径:", "", folder, this) || folder.empty())
        return;
    State.IfoFolderList->Clear();
    State.VobFolderList->Clear();
    State.DvdFolderList->Clear();
    FindDvdFolders(IncludeTrailingSlash(folder));
    if (State.DvdFolderList->Empty()) {
        Inform("Load Dvd directory error!");
        return;
    }
    std::string path;
    if (State.DvdFolderList->Count() == 1) {
        path = (*State.DvdFolderList)[0];
    } else {
        int index = -1;
        ShowSelHardDiskDvdDialog(Application().Handle(), State.Language, index);
        if (index < 0 || index >= State.DvdFolderList->Count())
            return;
        path = (*State.DvdFolderList)[index];
    }
    State.DvdPath = path;
    // A disc folder that is a drive's own folder (its disc's files lie in the folder the drive is mounted on)
    // is a drive's to open, not a folder's: nothing is opened or told.
    if (!DvdDriveRootOf(path).empty())
        return;
    OpenDvdAndShow(path);
}

void TQuorelMain_Form::pOpendvddirectoryClick(TObject*) {
    OpenDvdFolderCommand();
}

// --- The DVD navigation items. ---

void TQuorelMain_Form::pPreviouschapterClick(TObject*) {
    DvdPreviousChapter();
}
void TQuorelMain_Form::pNextchapterClick(TObject*) {
    DvdNextChapter();
}
void TQuorelMain_Form::pMainmenuClick(TObject*) {
    ShowDiscMenu(2);
}
void TQuorelMain_Form::pTitlemenuClick(TObject*) {
    ShowDiscMenu(3);
}
void TQuorelMain_Form::pChaptermenuClick(TObject*) {
    ShowDiscMenu(7);
}
void TQuorelMain_Form::pSubpictureMenuClick(TObject*) {
    ShowDiscMenu(4);
}
void TQuorelMain_Form::pDubmenuClick(TObject*) {
    ShowDiscMenu(5);
}
void TQuorelMain_Form::pAnglemenuClick(TObject*) {
    ShowDiscMenu(6);
}

void TQuorelMain_Form::ShowDiscMenu(int MenuId) {
    PlayPausedDvd();
    ShowDvdMenu(MenuId);
}

void TQuorelMain_Form::PlayPausedDvd() {
    if (State.PlayType != PlayTypes::Dvd || !State.IsPlaying || !State.IsPaused)
        return;
    ResumeCommand();
    RefreshButtonBitmaps();
}

// --- The stream submenus. ---

void TQuorelMain_Form::BuildDvdPopupMenus() {
    PrepareDvdSubtitleMenu(
        pSubpicture, pDublanguage, this, [this](TObject* Sender) { DvdSubpictureOffClick(Sender); },
        [this](TObject* Sender) { DvdSubpictureClick(Sender); });
    BuildDvdAudioMenu(pDublanguage, this, [this](TObject* Sender) { DvdAudioStreamClick(Sender); });
    BuildDvdAngleMenu(pAngle, this, [this](TObject* Sender) { DvdAngleClick(Sender); });
}

void TQuorelMain_Form::DvdSubpictureOffClick(TObject* Sender) {
    if (TMenuItem* item = ItemOf(Sender))
        DvdSubpictureOff(item);
}

void TQuorelMain_Form::DvdSubpictureClick(TObject* Sender) {
    if (TMenuItem* item = ItemOf(Sender))
        DvdSubpictureSelect(item);
}

void TQuorelMain_Form::DvdAudioStreamClick(TObject* Sender) {
    if (TMenuItem* item = ItemOf(Sender))
        DvdAudioStreamSelect(item);
}

void TQuorelMain_Form::DvdAngleClick(TObject* Sender) {
    if (TMenuItem* item = ItemOf(Sender))
        DvdAngleSelect(item);
}
