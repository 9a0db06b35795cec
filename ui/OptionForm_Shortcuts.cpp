// The options dialog's Shortcut key page: the 28 commands with their keys in a report list, edited through a
// drop-down list laid over the clicked cell; a new boss key is tried with the system at once.

#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "core/Shortcuts.h"
#include "platform/win32/HotKey.h"
#include "platform/win32/MessageBox.h"
#include "ui/OptionForm.h"
#include "ui/QuorelMainUnit.h"

using namespace forms;

namespace {

// The row's cells: 0 the command's caption, 1 the mouse action, 2 the modifier, 3 the key. The row's
// sub-items hold cells 1 to 3.
enum ShortcutCell { CommandCell = 0, MouseCell = 1, ModifierCell = 2, KeyCell = 3 };

std::string CellText(TListItem* Row, int Cell) {
    return Cell == CommandCell ? Row->Caption() : Row->SubItems()[Cell - 1];
}

void SetCellText(TListItem* Row, int Cell, const std::string& Text) {
    if (Cell == CommandCell)
        Row->SetCaption(Text);
    else
        Row->SubItems().Set(Cell - 1, Text);
}

// The caption of command i's menu item (none without the main window).
std::string CommandCaption(int Index) {
    const auto at = static_cast<std::size_t>(Index);
    if (QuorelMain_Form == nullptr || at >= QuorelMain_Form->CommandMenuItems.size())
        return {};
    return QuorelMain_Form->CommandMenuItems[at]->Caption();
}

// A line of the line lists split at its first "=": the command's key name and its keys.
std::pair<std::string, std::string> SplitShortcutLine(const std::string& Line) {
    const auto equals = Line.find('=');
    if (equals == std::string::npos)
        return {Line, ""};
    return {Line.substr(0, equals), Line.substr(equals + 1)};
}

const char* const ConflictText =
    "The boss key of you set the shortcut keys and other keys are in confilct, reset.";

} // namespace

void TOption_Form::BuildShortcutPage() {
    if (CurrentPage == OptionPages::Shortcut)
        return;
    ClearPage();
    AddCaption(Component_P, OptionTexts[7], 10, 15);
    // Every row 20 pixels high.
    auto* rowHeight = new TImageList(Component_P);
    rowHeight->SetHeight(20);
    rowHeight->SetWidth(0);
    AddSunkenPanel(Page.ShortcutPanel, Component_P, 235, 30, 15);
    TListView* list = Page.ShortcutList = new TListView(Page.ShortcutPanel);
    list->SetName("Shortcut_LV");
    list->SetSmallImages(rowHeight);
    list->SetAlign(alClient);
    list->SetBorderStyle(bsNone);
    list->SetViewStyle(vsReport);
    list->SetGridLines(true);
    list->SetReadOnly(true);
    list->SetRowSelect(true);
    list->Columns().Add(OptionTexts[79], 120);
    list->Columns().Add(OptionTexts[61], 90);
    list->Columns().Add(OptionTexts[80], 90);
    list->Columns().Add(OptionTexts[7], 80);
    list->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        ShortcutListMouseDown(Sender, Button, Shift, X, Y);
    };
    AddButton(
        Page.DefaultModeButton, Component_P, 90, 21,
        Page.ShortcutPanel->Top() + Page.ShortcutPanel->Height() + 5, 15,
        [this](TObject* Sender) { RestoreDefaultShortcuts(Sender); }, OptionTexts[60]);
    Page.DefaultModeButton->SetName("DefaultMode_Btn");
    HookHeader();
    LoadShortcutRows();
    CurrentPage = OptionPages::Shortcut;
}

void TOption_Form::HookHeader() {
    Page.ShortcutList->HeaderWindowProc = [this](TMessage& Message) { HeaderWndProc(Message); };
}

void TOption_Form::HeaderWndProc(TMessage& Message) {
    // The header has handled the message already (the class library calls this after it).
    switch (Message.Msg) {
    case win32::WM_LBUTTONDOWN:
        HeaderPressed = true;
        SaveColumnWidths();
        break;
    case win32::WM_LBUTTONUP:
        if (HeaderPressed) {
            RestoreColumnWidths();
            HeaderPressed = false;
        }
        break;
    case win32::WM_LBUTTONDBLCLK:
        RestoreColumnWidths();
        break;
    default:
        break;
    }
}

void TOption_Form::SaveColumnWidths() {
    for (int i = 0; i < 4; ++i)
        HeaderWidths[static_cast<std::size_t>(i)] = Page.ShortcutList->Columns().Width(i);
    DestroyInPlaceCombo();
}

void TOption_Form::RestoreColumnWidths() {
    for (int i = 0; i < 4; ++i)
        Page.ShortcutList->Columns().SetWidth(i, HeaderWidths[static_cast<std::size_t>(i)]);
}

void TOption_Form::LoadShortcutRows() {
    // Shown again, the page shows the keys of the earlier visits' edits, which are what OK stores.
    for (int i = 0; i < CommandKeyNames.Count(); ++i)
        AddShortcutRow(CommandCaption(i), i < EditedShortcutLines.Count()
                                              ? SplitShortcutLine(EditedShortcutLines[i]).second
                                              : ReadIniString("ShortCut", CommandKeyNames[i]));
    BuildShortcutLines();
}

void TOption_Form::AddShortcutRow(const std::string& Caption, const std::string& Keys) {
    std::string modifier, key;
    SplitShortCutText(Keys, modifier, key);
    TListItem* row = Page.ShortcutList->Items().Add();
    row->SetCaption(Caption);
    row->SubItems().Add("");
    row->SubItems().Add(modifier);
    row->SubItems().Add(key);
    ShortcutRowTexts.Add(Caption);
}

std::string TOption_Form::RowKeys(TListItem* Row) {
    const std::string modifier = CellText(Row, ModifierCell);
    const std::string key = CellText(Row, KeyCell);
    return modifier.empty() ? key : modifier + "+" + key;
}

void TOption_Form::BuildShortcutLines() {
    // Only the first build fills the lists: the edits of an earlier visit stay in EditedShortcutLines.
    for (int i = 0; i < Page.ShortcutList->Items().Count(); ++i) {
        const std::string line = CommandKeyNames[i] + "=" + RowKeys(Page.ShortcutList->Items().Item(i));
        if (LoadedShortcutLines.Count() <= i)
            LoadedShortcutLines.Add(line);
        if (EditedShortcutLines.Count() <= i)
            EditedShortcutLines.Add(line);
    }
}

void TOption_Form::DestroyInPlaceCombo() {
    if (InPlaceCombo == nullptr)
        return;
    if (Page.ShortcutList != nullptr)
        for (int i = 0; i < Page.ShortcutList->Items().Count(); ++i)
            if (Page.ShortcutList->Items().Item(i)->Data == InPlaceCombo)
                Page.ShortcutList->Items().Item(i)->Data = nullptr;
    delete InPlaceCombo;
    InPlaceCombo = nullptr;
}

void TOption_Form::ShortcutListMouseDown(TObject*, TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft || Page.ShortcutList == nullptr)
        return;
    TListItem* row = Page.ShortcutList->GetItemAt(X, Y);
    if (row == nullptr)
        return;
    int column = -1;
    QRect cell;
    for (int c = MouseCell; c <= KeyCell && column < 0; ++c) {
        cell = Page.ShortcutList->SubItemRect(row, c);
        if (cell.left() < X && X < cell.left() + cell.width())
            column = c;
    }
    if (column < 0)
        return;
    DestroyInPlaceCombo();
    auto* combo = InPlaceCombo = new TComboBox(Page.ShortcutList);
    combo->SetName("InPlace_Cob");
    combo->SetDropDownCount(24);
    combo->SetBounds(cell.left(), cell.top(), cell.width(), cell.height());
    combo->raise();
    combo->show();
    combo->SetFocus();
    row->Data = combo;
    combo->Add("");
    switch (column) {
    case MouseCell:
        for (const char* action : {"Left click", "Left double click", "Mouse wheel"})
            combo->Add(action);
        combo->OnCloseUp = [this](TObject* Sender) { MouseComboDone(Sender); };
        break;
    case ModifierCell:
        for (const THotKeyName& name : HotKeyModifierNames())
            combo->Add(name.Name);
        combo->OnCloseUp = [this](TObject* Sender) { ModifierComboDone(Sender); };
        break;
    default:
        for (const THotKeyName& name : HotKeyKeyNames())
            combo->Add(name.Name);
        combo->OnCloseUp = [this](TObject* Sender) { KeyComboDone(Sender); };
        break;
    }
    const std::string current = CellText(row, column);
    for (int i = 0; i < combo->Count(); ++i)
        if (SameText(combo->Items(i), current)) {
            combo->SetItemIndex(i);
            break;
        }
}

void TOption_Form::MouseComboDone(TObject*) {
    TListItem* row = Page.ShortcutList != nullptr ? Page.ShortcutList->Selected() : nullptr;
    if (row != nullptr && InPlaceCombo != nullptr && !InPlaceCombo->Text().empty())
        SetCellText(row, MouseCell, InPlaceCombo->Text());
    DestroyInPlaceCombo();
}

void TOption_Form::ModifierComboDone(TObject*) {
    ComboDone(ModifierCell);
}

void TOption_Form::KeyComboDone(TObject*) {
    ComboDone(KeyCell);
}

void TOption_Form::ComboDone(int Cell) {
    TListItem* row = Page.ShortcutList != nullptr ? Page.ShortcutList->Selected() : nullptr;
    if (row == nullptr || InPlaceCombo == nullptr) {
        DestroyInPlaceCombo();
        return;
    }
    const int index = InPlaceCombo->ItemIndex();
    const std::string text = InPlaceCombo->Text();
    DestroyInPlaceCombo();
    const int at = row->Index();
    const std::string old = CellText(row, Cell);
    const bool keyCell = Cell == KeyCell;
    // The key cell: nothing chosen, or the empty item, changes nothing at all.
    if (keyCell && (index < 0 || text.empty()))
        return;
    if (index >= 0) {
        if (CommandKeyNames[at] != "BossKey") {
            SetCellText(row, Cell, text);
        } else if (text != old) {
            int modifiers = 0;
            int key = 0;
            if (keyCell) {
                key = HotKeyKeyNames()[static_cast<std::size_t>(index - 1)].Value;
                // An empty modifier is no modifier, as the empty item of the modifier list is (and as the
                // boss key is registered at start).
                const std::string modifier = CellText(row, ModifierCell);
                modifiers = modifier.empty() ? 0 : ModifierFromName(modifier);
            } else {
                modifiers =
                    text.empty() ? 0 : HotKeyModifierNames()[static_cast<std::size_t>(index - 1)].Value;
                key = KeyFromName(CellText(row, KeyCell));
            }
            // The test gives the boss key in use its registration back, so that cancelling the dialog leaves
            // the player with a working boss key.
            if (TestHotKey(State.MainWindowHandle, modifiers, key)) {
                SetCellText(row, Cell, text);
                BossKeyChanged = true;
                NewBossModifiers = modifiers;
                NewBossKey = key;
            } else {
                win32::MessageBox(Handle(), ConflictText, "Information", win32::MB_OK);
            }
        }
    }
    if (at < EditedShortcutLines.Count())
        EditedShortcutLines.Put(at, CommandKeyNames[at] + "=" + RowKeys(row));
}

void TOption_Form::RestoreDefaultShortcuts(TObject*) {
    DestroyInPlaceCombo();
    Page.ShortcutList->Items().Clear();
    const std::vector<std::string>& defaults = DefaultShortcutTable();
    for (int i = 0; i < CommandKeyNames.Count(); ++i) {
        std::string keys;
        for (const std::string& line : defaults) {
            const auto equals = line.find('=');
            if (line.substr(0, equals) == CommandKeyNames[i]) {
                keys = equals == std::string::npos ? std::string() : line.substr(equals + 1);
                break;
            }
        }
        AddShortcutRow(CommandCaption(i), keys);
    }
}

void TOption_Form::SaveShortcuts() {
    for (int i = 0; i < EditedShortcutLines.Count(); ++i) {
        const std::string& line = EditedShortcutLines[i];
        if (i < LoadedShortcutLines.Count() && line == LoadedShortcutLines[i])
            continue;
        const auto [name, keys] = SplitShortcutLine(line);
        WriteIniString("ShortCut", name, keys);
    }
}

void TOption_Form::RegisterNewBossKey() {
    if (!BossKeyChanged)
        return;
    if (win32::RegisterHotKey(State.MainWindowHandle, State.BossKeyId,
                              static_cast<win32::UINT>(NewBossModifiers),
                              static_cast<win32::UINT>(NewBossKey)) == win32::FALSE)
        win32::MessageBox(Handle(), ConflictText, "Information", win32::MB_OK);
}
