// The main window's presence outside its frame: minimizing, the tray icon, the stay-on-top button and the
// radio groups of the main menu. The tray icon and stay-on-top cycling come with their own work and do
// nothing yet; the default handling of system commands, the menu button and the radio groups are here.

#include "ui/QuorelMainUnit.h"

#include "core/MediaOpen.h"
#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
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

// Not built yet: the main window shown and focused again from the tray menu.
void TQuorelMain_Form::tShowmainfaceClick(TObject*) {}

namespace {

// The radio rule: the whole group unchecked, the clicked item checked (a sender outside the group checks
// nothing), and then the group's save reads which one is.
void CheckClicked(const TMenuItemArray& Items, TObject* Sender) {
    UncheckMenuItems(Items);
    for (TMenuItem* item : Items)
        if (item == Sender)
            item->SetChecked(true);
}

} // namespace

void TQuorelMain_Form::ChannelMenuClick(TObject* Sender) {
    // The three channel items carry shortcut commands: their actions arrive here as the sender too.
    if (auto* action = dynamic_cast<TAction*>(Sender)) {
        UncheckMenuItems(ChannelMenuItems);
        const std::pair<const char*, TMenuItem*> byCaption[] = {
            {"aStereo", pStereo}, {"aLeftTrack", pLefttrack}, {"aRightTrack", pRighttrack}};
        for (const auto& [caption, item] : byCaption)
            if (action->Caption() == caption)
                item->SetChecked(true);
    } else {
        CheckClicked(ChannelMenuItems, Sender);
    }
    SaveSoundBalanceMenu(ChannelMenuItems);
}

void TQuorelMain_Form::OnTopMenuClick(TObject* Sender) {
    CheckClicked(OnTopMenuItems, Sender);
    SaveStayOnTopMenu(Left(), Top(), Width(), Height(), OnTopMenuItems);
    ShowStayOnTopPicture();
}

void TQuorelMain_Form::ShowStayOnTopPicture() {
    switch (State.StayOnTop) {
    case StayOnTops::Never:
        LoadSkinBitmap(Ontop_xi, "Ontop_Normal_btn.bmp");
        break;
    case StayOnTops::Always:
        LoadSkinBitmap(Ontop_xi, "Toped_Normal_btn.bmp");
        break;
    case StayOnTops::WhilePlaying:
        LoadSkinBitmap(Ontop_xi, "TopatPlay_Normal_btn.bmp");
        break;
    default:
        break;
    }
}

void TQuorelMain_Form::AfterPlayMenuClick(TObject* Sender) {
    CheckClicked(AfterPlayMenuItems, Sender);
    SaveAfterPlayMenu(AfterPlayMenuItems);
}

void TQuorelMain_Form::ScaleMenuClick(TObject* Sender) {
    CheckClicked(ScaleMenuItems, Sender);
    SaveVideoScaleMenu(ScaleMenuItems);
    if (State.IsPlaying)
        PlaceVideoInWindow();
}

void TQuorelMain_Form::PlayModeMenuClick(TObject* Sender) {
    CheckClicked(PlayModeMenuItems, Sender);
    SavePlayModeMenu(PlayModeMenuItems);
}

// Items built at run time under the drive and history menus.
void TQuorelMain_Form::OpenDvdDriveMenuClick(TObject*) {}
void TQuorelMain_Form::HistoryItemClick(TObject*) {}
