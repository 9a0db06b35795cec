// The shortcut commands and the boss key of the main window: the hot-key message and the boss-key item.

#include "ui/QuorelMainUnit.h"

#include "core/PlaybackState.h"
#include "core/Shortcuts.h"
#include "platform/win32/HotKey.h"

using namespace forms;

void TQuorelMain_Form::BindKeys() {
    SetMessageHandler(win32::WM_HOTKEY, [this](TMessage& Message) { HotKeyMessage(Message); });
}

void TQuorelMain_Form::HotKeyMessage(TMessage& Message) {
    if (static_cast<int>(Message.WParam) == State.BossKeyId)
        pBosskeyClick(this);
}

void TQuorelMain_Form::pBosskeyClick(TObject*) {
    // Through the play/pause command's halves, so that the buttons, the status text and the timers follow.
    ToggleBossKey(
        [this] {
            PauseCommand();
            RefreshButtonBitmaps();
        },
        [this] {
            ResumeCommand();
            RefreshButtonBitmaps();
        });
}
