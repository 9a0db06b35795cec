// The main window's presence outside its frame and its menu plumbing: minimizing to the tray icon and back,
// the tray menu, the stay-on-top button, the radio groups and the help items of the main menu, the property
// command, and a close asked for under a modal dialog waiting for it.

#include "ui/QuorelMainUnit.h"

#include <iostream>

#include <QTimer>
#include <QWindowStateChangeEvent>

#include "core/DialogLaunchers.h"
#include "core/MediaOpen.h"
#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/WindowMessages.h"
#include "core/WindowUtils.h"
#include "platform/win32/TrayIcon.h"
#include "platform/win32/Window.h"
#include "ui/AboutForm.h"

using namespace forms;

namespace {

constexpr win32::UINT TrayIconId = 1;

} // namespace

void TQuorelMain_Form::BindTray() {
    SetMessageHandler(WM_TRAYICON, [this](TMessage& Message) { TrayIconMessage(Message); });
    SetMessageHandler(win32::WM_CLOSE, [this](TMessage& Message) { CloseMessage(Message); });
}

void TQuorelMain_Form::SysCommandMessage(TMessage& Message) {
    const bool minimize = (Message.WParam & 0xFFF0) == win32::SC_MINIMIZE;
    // Every system command gets the window's default handling first.
    minimizing_ = minimize;
    DefaultHandler(Message);
    minimizing_ = false;
    if (minimize && ReadIniInteger("PlayControl", "MinimizeToTray") == 1)
        MinimizeToTray();
}

void TQuorelMain_Form::changeEvent(QEvent* Event) {
    TForm::changeEvent(Event);
    if (Event->type() != QEvent::WindowStateChange || minimizing_ || ClosingDown)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(Event);
    if (isMinimized() && (change->oldState() & Qt::WindowMinimized) == 0)
        win32::PostMessage(Handle(), win32::WM_SYSCOMMAND, win32::SC_MINIMIZE, 0);
}

void TQuorelMain_Form::MinimizeToTray() {
    // The icon comes first: a window hidden with no icon to bring it back would leave the program out of
    // reach. Without a notification area or an icon the window stays minimized as it is.
    if (!ShowTrayIcon())
        return;
    win32::ShowWindow(Handle(), win32::SW_HIDE);
}

bool TQuorelMain_Form::ShowTrayIcon() {
    if (trayIcon_.Empty()) {
        try {
            trayIcon_.LoadFromFile(IncludeTrailingSlash(State.ImagePath) + "logo_s.ico");
        } catch (const std::exception& e) {
            std::cerr << "TarvexDVD: no tray icon: " << e.what() << '\n';
            return false;
        }
    }
    win32::NOTIFYICONDATA data;
    data.hWnd = Handle();
    data.uID = TrayIconId;
    data.uFlags = win32::NIF_MESSAGE | win32::NIF_ICON | win32::NIF_TIP;
    data.uCallbackMessage = WM_TRAYICON;
    data.hIcon = trayIcon_.Image();
    data.szTip = "TarvexDVD";
    data.Menu = TrayPop->Menu();
    trayIconShown_ = win32::Shell_NotifyIcon(win32::NIM_ADD, &data) != win32::FALSE;
    return trayIconShown_;
}

void TQuorelMain_Form::HideTrayIcon() {
    if (!trayIconShown_)
        return;
    win32::NOTIFYICONDATA data;
    data.hWnd = Handle();
    data.uID = TrayIconId;
    win32::Shell_NotifyIcon(win32::NIM_DELETE, &data);
    trayIconShown_ = false;
}

void TQuorelMain_Form::TrayIconMessage(TMessage& Message) {
    switch (Message.LParam) {
    case win32::WM_LBUTTONDOWN:
        win32::ShowWindow(Handle(), win32::SW_SHOWNORMAL);
        Show();
        BringToFrontAndActivate();
        break;
    case win32::WM_RBUTTONDOWN: {
        // A notification area that shows the icon's menu itself never sends this; one that only reports the
        // click gets the menu at the pointer.
        win32::SetForegroundWindow(Handle());
        win32::POINT p;
        win32::GetCursorPos(&p);
        TrayPop->Popup(p.x, p.y);
        break;
    }
    default:
        break;
    }
}

void TQuorelMain_Form::tShowmainfaceClick(TObject*) {
    TMessage click;
    click.Msg = WM_TRAYICON;
    click.WParam = TrayIconId;
    click.LParam = win32::WM_LBUTTONDOWN;
    TrayIconMessage(click);
}

void TQuorelMain_Form::tPlayPauseClick(TObject*) {
    PlayPauseCommand();
}

void TQuorelMain_Form::tOptionClick(TObject*) {
    ShowOptions();
}

void TQuorelMain_Form::PopupUnderButton(TImage* Button, TPopupMenu* Menu) {
    win32::POINT p{Button->Left(), Button->Top() + Button->Height()};
    win32::ClientToScreen(Button->ParentControl() != nullptr ? Button->ParentControl()->Handle() : Handle(),
                          &p);
    Menu->Popup(p.x, p.y);
}

void TQuorelMain_Form::CycleStayOnTop() {
    State.StayOnTop = ReadIniInteger("Play", "StayOnTop");
    UncheckMenuItems(OnTopMenuItems);
    switch (State.StayOnTop) {
    case StayOnTops::Never:
        pAlways->SetChecked(true);
        break;
    case StayOnTops::Always:
        pOnlyplaying->SetChecked(true);
        break;
    case StayOnTops::WhilePlaying:
        pNonever->SetChecked(true);
        break;
    default:
        break;
    }
    SaveStayOnTopMenu(Left(), Top(), Width(), Height(), OnTopMenuItems);
    ShowStayOnTopPicture();
}

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

void TQuorelMain_Form::pMainwebClick(TObject*) {
    OpenHomePage();
}

void TQuorelMain_Form::pAboutClick(TObject*) {
    ShowAboutDialog(Application().Handle(), State.Language);
}

void TQuorelMain_Form::pPropertyClick(TObject*) {
    // Only of a medium that is open: the play type alone may be the one the last session left.
    if (State.IsPlaying)
        ShowMediaProperty(Application().Handle(), State.Language);
}

void TQuorelMain_Form::CloseMessage(TMessage& Message) {
    if (win32::InsideModalLoop()) {
        // Asked again a moment later, until the dialog has returned.
        QTimer::singleShot(100, this, [this] { win32::PostMessage(Handle(), win32::WM_CLOSE, 0, 0); });
        return;
    }
    DefaultHandler(Message);
}
