// The main window's presence outside its frame: minimizing, the tray icon, the stay-on-top button and the
// radio groups of the main menu. The tray icon, stay-on-top cycling and the radio-group handlers come with
// their own work and do nothing yet; the default handling of system commands and the menu button are here.

#include "ui/QuorelMainUnit.h"

#include "core/Settings.h"
#include "platform/win32/Window.h"

using namespace forms;

void TQuorelMain_Form::SysCommandMessage(TMessage& Message) {
    // Every system command gets the window's default handling first.
    DefaultHandler(Message);
    if ((Message.WParam & 0xFFF0) == win32::SC_MINIMIZE && ReadIniInteger("PlayControl", "MinimizeToTray") == 1)
        MinimizeToTray();
}

// Hiding the window before the tray icon exists would leave no way back to it: until then a minimize stays
// an ordinary one.
void TQuorelMain_Form::MinimizeToTray() {}

void TQuorelMain_Form::HideTrayIcon() {}

void TQuorelMain_Form::PopupUnderButton(TImage* Button, TPopupMenu* Menu) {
    win32::POINT p{Button->Left(), Button->Top() + Button->Height()};
    win32::ClientToScreen(Button->ParentControl() != nullptr ? Button->ParentControl()->Handle() : Handle(), &p);
    Menu->Popup(p.x, p.y);
}

void TQuorelMain_Form::CycleStayOnTop() {}

void TQuorelMain_Form::ChannelMenuClick(TObject*) {}
void TQuorelMain_Form::OnTopMenuClick(TObject*) {}
void TQuorelMain_Form::AfterPlayMenuClick(TObject*) {}
void TQuorelMain_Form::ScaleMenuClick(TObject*) {}
void TQuorelMain_Form::PlayModeMenuClick(TObject*) {}

// Items built at run time under the drive and history menus.
void TQuorelMain_Form::OpenDvdDriveMenuClick(TObject*) {}
void TQuorelMain_Form::HistoryItemClick(TObject*) {}
