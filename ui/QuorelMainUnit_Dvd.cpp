// The DVD commands of the main window: opening a DVD folder, the navigation items of the main menu and the
// stream items built while a DVD plays.

#include "core/DvdNavigation.h"
#include "ui/QuorelMainUnit.h"

using namespace forms;

void TQuorelMain_Form::pOpendvddirectoryClick(TObject*) {
    OpenDvdFolderCommand();
}

// Not built yet: choosing a DVD folder and opening it.
void TQuorelMain_Form::OpenDvdFolderCommand() {}

void TQuorelMain_Form::pPreviouschapterClick(TObject*) {
    DvdPreviousChapter();
}

void TQuorelMain_Form::pNextchapterClick(TObject*) {
    DvdNextChapter();
}

// The disc's own menus. "Main menu" asks for the title menu (2) and "title menu" for the root menu (3), as
// the navigator names them.
void TQuorelMain_Form::pMainmenuClick(TObject*) {
    ShowDvdMenu(2);
}
void TQuorelMain_Form::pTitlemenuClick(TObject*) {
    ShowDvdMenu(3);
}
void TQuorelMain_Form::pChaptermenuClick(TObject*) {
    ShowDvdMenu(7);
}
void TQuorelMain_Form::pSubpictureMenuClick(TObject*) {
    ShowDvdMenu(4);
}
void TQuorelMain_Form::pDubmenuClick(TObject*) {
    ShowDvdMenu(5);
}
void TQuorelMain_Form::pAnglemenuClick(TObject*) {
    ShowDvdMenu(6);
}

// Not built yet: the subtitle, audio-stream and angle items built when the menu opens.
void TQuorelMain_Form::DvdSubpictureOffClick(TObject*) {}
void TQuorelMain_Form::DvdSubpictureClick(TObject*) {}
void TQuorelMain_Form::DvdAudioStreamClick(TObject*) {}
void TQuorelMain_Form::DvdAngleClick(TObject*) {}
