#include "ui/ListForm.h"

#include "core/AudioPlayback.h"
#include "core/MenuSettings.h"
#include "core/PlaybackState.h"
#include "core/WindowMessages.h"
#include "platform/forms/Conversions.h"
#include "platform/win32/Files.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Window.h"
#include "ui/PlayListFile.h"

using namespace forms;

TList_Form* PlayListForm = nullptr;

namespace {

constexpr int RowPitch = 24;

// The shared lists exist from the main window's start to its close; a window that outlives them (while the
// program closes) reads nothing.
bool ListsReady() {
    return State.PlayListFiles && State.PlayListPositions && State.PlayListLines && State.DvdChapterList;
}

TColor Colour(win32::COLORREF Value) {
    return static_cast<TColor>(Value);
}

// The icon of a row by the play type: Text is the entry (or the row's label, which ends in the same
// extension); empty for none, and for the first DVD row, whose disc stays.
std::string RowIconFile(const std::string& Text, int Index, bool Playing) {
    switch (State.PlayType) {
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        return std::string(IsAudioFile(Text) ? "Play_Audio" : "Play_Media_s") + (Playing ? "_Play" : "") +
               ".bmp";
    case PlayTypes::Dvd:
        return Index == 0 ? "" : Playing ? "Play_Dvd_Play.bmp" : "Play_Dvd.bmp";
    case PlayTypes::Pip:
        return "Play_Pip_s.bmp";
    default:
        return "";
    }
}

} // namespace

std::string PlayListRowText(const std::string& Entry, int Number, bool DvdList) {
    if (!DvdList)
        return std::to_string(Number) + "." + " " + PlayListEntryName(Entry);
    if (Number == 1)
        return " " + Entry;
    return std::to_string(Number - 1) + ". " + Entry;
}

std::string PlayListEntryName(const std::string& Path) {
    const auto at = Path.find_last_of("/\\");
    return at == std::string::npos ? Path : Path.substr(at + 1);
}

TList_Form::TList_Form(QWidget* Owner)
    : TCompanionFrame(Owner, TFrameParams{{10, RowPitch, RowPitch, true, false},
                                          69,
                                          2,
                                          0,
                                          true,
                                          &State.PlayListVisible,
                                          &State.PlayListWindowHandle,
                                          &State.SelectedPlayListRow}) {
    SetName("List_Form");
    PL_P = ListArea;
    PL_P->SetName("PL_P");
    SetBounds(Left(), Top(), 210, 446);
    Add_XI =
        AddToolButton("Add_XI", 13, "Add", "Add_Normal_btn.bmp", "Add_Hight_btn.bmp", "Add_Enter_btn.bmp");
    DelPlItem_XI = AddToolButton("DelPlItem_XI", 39, "Delete", "Del_Normal_Btn.bmp", "Del_Hight_Btn.bmp",
                                 "Del_Enter_Btn.bmp");
    EmptyPL_XI = AddToolButton("EmptyPL_XI", 65, "Empty", "Empty_Normal_Btn.bmp", "Empty_Hight_Btn.bmp",
                               "Empty_Enter_Btn.bmp");
    Load_XI = AddToolButton("Load_XI", 91, "Load from file", "Load_Normal_btn.bmp", "Load_Hight_btn.bmp",
                            "Load_Enter_btn.bmp");
    Saveas_XI = AddToolButton("Saveas_XI", 117, "Save", "Save_Normal_Btn.bmp", "Save_Hight_Btn.bmp",
                              "Save_Enter_Btn.bmp");
    MediaType_OD = std::make_unique<TOpenDialog>(this);
    LoadPlayList_OD = std::make_unique<TOpenDialog>(this);
    SaveAsPlayList_SD = std::make_unique<TSaveDialog>(this);

    Add_XI->OnClick = [this](TObject*) { AddFiles(); };
    Load_XI->OnClick = [this](TObject*) { LoadPlayListDialog(); };
    Saveas_XI->OnClick = [this](TObject*) { SavePlayListAs(); };
    // Delete and Empty act on the release of the left button that was pressed on them (after their picture).
    for (auto [button, action] :
         {std::pair<tximage*, void (TList_Form::*)()>{DelPlItem_XI, &TList_Form::DeletePlayListEntry},
          {EmptyPL_XI, &TList_Form::EmptyPlayList}}) {
        const TMouseEvent picture = button->OnMouseUp;
        button->OnMouseUp = [this, picture, act = action](TObject* Sender, TMouseButton Button,
                                                          TShiftState Shift, int X, int Y) {
            picture(Sender, Button, Shift, X, Y);
            if (Button == mbLeft)
                (this->*act)();
        };
    }
    SetMessageHandler(WM_PLAYLIST_PIPITEM, [this](TMessage& M) { WMMarkRow(M); });
    SetMessageHandler(WM_PLAYLIST_SETCURRENT, [this](TMessage& M) { WMSetCurrent(M); });
    SetMessageHandler(WM_PLAYLIST_SETDVDCHAPTER, [this](TMessage& M) { WMSetDvdChapter(M); });
    SetMessageHandler(WM_PLAYLIST_RELOAD, [this](TMessage& M) { WMReload(M); });
    SetMessageHandler(WM_PLAYLIST_LOADFILE, [this](TMessage& M) { WMLoadFile(M); });
    SetMessageHandler(WM_PLAYLIST_CLEAR, [this](TMessage& M) { WMClear(M); });
    SetMessageHandler(WM_PLAYLIST_SAVEFILE, [this](TMessage& M) { WMSaveFile(M); });
    SetMessageHandler(WM_PLAYLIST_ADDFILES, [this](TMessage& M) { WMAddFiles(M); });
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnActivate = [this](TObject* Sender) { FormActivate(Sender); };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    DoCreate();
}

TList_Form::~TList_Form() {
    if (PlayListForm == this)
        PlayListForm = nullptr;
}

void TList_Form::FormCreate(TObject*) {
    FirstActivation = true;
    State.PlayListVisible = true;
    LayoutFrameBars();
    EnableDoubleBuffering();
}

void TList_Form::FormActivate(TObject*) {
    if (!ListsReady())
        return;
    PL_P->SetCursor(crHourGlass);
    if (FirstActivation) {
        FirstActivation = false;
        if (State.PlayType == PlayTypes::Dvd && !State.DvdChapterList->Empty())
            RebuildAndMark(*State.DvdChapterList, State.DvdChapterIndex);
        else if (!State.PlayListFiles->Empty())
            RebuildAndMark(*State.PlayListFiles, State.PlayListIndex);
    }
    PL_P->SetCursor(crDefault);
}

void TList_Form::FormClose(TObject*, TCloseAction& Action) {
    State.PlayListVisible = false;
    Action = caFree;
}

// --- Rows. ---

std::uint8_t TList_Form::IconNumber(const std::string& FileName) {
    for (std::size_t i = 0; i < iconFiles_.size(); ++i)
        if (iconFiles_[i] == FileName)
            return static_cast<std::uint8_t>(i);
    TPicture picture;
    picture.LoadFromFile(State.SkinPath + FileName);
    iconFiles_.push_back(FileName);
    iconPictures_.push_back(picture.Image());
    return static_cast<std::uint8_t>(iconFiles_.size() - 1);
}

const std::string& TList_Form::RowIconFileName(int Index) const {
    return iconFiles_[RowData(Index).Icon];
}

void TList_Form::KeepRow(const std::string& Text) {
    scroll_.Append([&](int) {
        TPlayListRow row;
        row.Entry = Text;
        const bool dvd = State.PlayType == PlayTypes::Dvd;
        row.Left = static_cast<std::int16_t>(dvd && Text != "DVD" ? 24 : 8);
        row.Text = Colour(State.LightGreyColor);
        ++RowCount;
        const std::string file = dvd && RowCount == 1 ? "Dvd.bmp" : RowIconFile(Text, RowCount - 1, false);
        if (!file.empty())
            row.Icon = IconNumber(file);
        row.Label = PlayListRowText(Text, RowCount, dvd);
        rows_.push_back(std::move(row));
    });
}

void TList_Form::AddRow(const std::string& Text) {
    MeasureScroll();
    KeepRow(Text);
    ShowScrollState();
}

void TList_Form::AppendRows(const TStringList& List) {
    // Each row is kept in turn as the scroll model appends it; the controls show the result once.
    MeasureScroll();
    rows_.reserve(rows_.size() + static_cast<std::size_t>(List.Count()));
    for (const std::string& text : List)
        KeepRow(text);
    ShowScrollState();
}

void TList_Form::ForgetRows() {
    rows_.clear();
    State.SelectedPlayListRow = -1;
}

void TList_Form::RemoveAllRows() {
    ResetScrollState();
    RowCount = 0;
    RefitScroll();
    ForgetRows();
    PlaceRows();
}

void TList_Form::RebuildRows(const TStringList& List) {
    RemoveAllRows();
    AppendRows(List);
}

void TList_Form::RebuildAndMark(const TStringList& List, int Index) {
    RebuildRows(List);
    if (Index >= 0 && Index < RowTotal()) {
        ShowRowPlaying(Index, clWhite);
        ScrollRowIntoView(Index);
    }
}

int TList_Form::DeleteSelectedRow() {
    const int index = State.SelectedPlayListRow;
    // An index that names no row (a stale selection) removes nothing.
    if (index < 0 || index >= RowTotal())
        return -1;
    const int oldTop = RowTop(index);
    rows_.erase(rows_.begin() + index);
    State.SelectedPlayListRow = -1;
    for (int i = index; i < RowTotal(); ++i)
        RenumberRowLabel(i);
    MeasureScroll();
    scroll_.RowRemoved(oldTop);
    // Every row from the removed one on has moved up into the control of the row before it.
    std::fill(controlRows_.begin(), controlRows_.end(), -1);
    ShowScrollState();
    return index;
}

void TList_Form::ClearRows() {
    ForgetRows();
    ResetScrollState();
    RowCount = 0;
    RefitScroll();
}

TLabel* TList_Form::RowLabel(const TPanel* Row) {
    return Row != nullptr ? Row->findChild<TLabel*>("Label", Qt::FindDirectChildrenOnly) : nullptr;
}

tximage* TList_Form::RowIcon(const TPanel* Row) {
    return Row != nullptr ? Row->findChild<tximage*>("Icon", Qt::FindDirectChildrenOnly) : nullptr;
}

void TList_Form::ShowRow(int Index, TColor Color, bool Playing) {
    if (Index < 0 || Index >= RowTotal())
        return;
    TPlayListRow& row = rows_[static_cast<std::size_t>(Index)];
    row.Text = Color;
    // The first DVD row keeps its disc.
    if (const std::string file = RowIconFile(row.Label, Index, Playing); !file.empty())
        row.Icon = IconNumber(file);
}

void TList_Form::ShowRowNormal(int Index, TColor Color) {
    ShowRow(Index, Color, false);
    RefreshRow(Index);
}

void TList_Form::ShowRowPlaying(int Index, TColor Color) {
    ShowRow(Index, Color, true);
    RefreshRow(Index);
}

void TList_Form::ShowAllRowsNormal(TColor Color) {
    for (int i = 0; i < RowTotal(); ++i)
        ShowRow(i, Color, false);
    RefreshRow();
}

void TList_Form::MarkCurrentRow(int Index) {
    ShowAllRowsNormal(Colour(State.LightGreyColor));
    if (Index < 0 || Index >= RowTotal())
        return;
    ShowRowPlaying(Index, cl3DLight);
    ScrollRowIntoView(Index);
}

void TList_Form::ClearRowColors(TColor Color) {
    for (TPlayListRow& row : rows_)
        row.Back = Color;
    RefreshRow();
}

void TList_Form::SelectRowClick(TObject* Sender) {
    const int index = IndexOfRow(qobject_cast<QWidget*>(Sender));
    if (index < 0)
        return;
    ClearRowColors(clBlack);
    rows_[static_cast<std::size_t>(index)].Back = Colour(State.DarkGreyColor);
    State.SelectedPlayListRow = index;
    RefreshRow(index);
}

void TList_Form::PlayRowDblClick(TObject* Sender) {
    const int index = IndexOfRow(qobject_cast<QWidget*>(Sender));
    if (index < 0)
        return;
    const std::string label = RowData(index).Label;
    State.SelectedListText = label;
    MarkCurrentRow(index);
    switch (State.PlayType) {
    case PlayTypes::Dvd:
        // The row's text travels with the message: a second double click before the main window gets to
        // the first must not change what the first one plays.
        win32::PostMessage(State.MainWindowHandle,
                           State.DvdControl2 ? WM_PLAYLIST_PLAYDVDCHAPTER : WM_PLAYLIST_OPENDVDCHAPTER, 0,
                           ListTextParcels.Put(label));
        break;
    case PlayTypes::MediaFile:
    case PlayTypes::Audio:
        win32::PostMessage(State.MainWindowHandle, WM_PLAYLIST_PLAYITEM, 0, index);
        break;
    case PlayTypes::Pip:
        win32::PostMessage(State.MainWindowHandle, WM_PLAYLIST_PIPITEM, 0, index);
        break;
    default:
        break;
    }
}

void TList_Form::RenumberRowLabel(int Index) {
    std::string& text = rows_[static_cast<std::size_t>(Index)].Label;
    const auto dot = text.find('.');
    if (dot == std::string::npos)
        return;
    text = std::to_string(Index + 1) + text.substr(dot);
}

void TList_Form::ScrollRowIntoView(int Index) {
    if (Index < 0 || Index >= RowTotal())
        return;
    MeasureScroll();
    scroll_.ScrollIntoView(RowTop(Index));
    ShowScrollState();
}

// --- The row controls. ---

TPanel* TList_Form::MakeRowControl() {
    auto* row = new TPanel(PL_P);
    row->SetBevelOuter(bvNone);
    row->SetDoubleBuffered(true);
    auto* icon = new tximage(row);
    icon->SetName("Icon");
    icon->SetBounds(0, 0, 20, 20);
    icon->SetStretch(true);
    icon->SetTransparent(true);
    auto* label = new TLabel(row);
    label->SetName("Label");
    label->SetLeft(22);
    label->SetTop(4);
    label->SetTransparent(true);
    label->SetCursor(crHandPoint);
    label->SetShowHint(true);
    label->OnClick = [this](TObject* Sender) { SelectRowClick(Sender); };
    label->OnDblClick = [this](TObject* Sender) { PlayRowDblClick(Sender); };
    return row;
}

void TList_Form::ShowRowIn(std::size_t Slot, int Index) {
    const TPlayListRow& data = RowData(Index);
    TPanel* row = rowControls_[Slot];
    controlRows_[Slot] = Index;
    row->SetBounds(data.Left, RowTop(Index), data.Width, 20);
    row->SetColor(data.Back);
    row->Font().SetColor(data.Back);
    // The panel's caption holds the row's index, as the rows' own controls did.
    row->SetCaption(std::to_string(Index));
    if (tximage* icon = RowIcon(row))
        icon->Picture().Assign(iconPictures_[data.Icon]);
    if (TLabel* label = RowLabel(row)) {
        if (State.UiFont)
            label->Font().Assign(*State.UiFont);
        label->Font().SetColor(data.Text);
        label->SetCaption(data.Label);
        label->SetHint(data.Entry);
    }
    row->Show();
}

void TList_Form::PlaceRows() {
    const int count = RowTotal();
    const int pitch = scroll_.Params().P;
    const int top = scroll_.T;
    // The rows with a part inside the list area: from the one that holds its top edge to the one that holds
    // its bottom edge.
    auto floorDiv = [](int A, int B) { return A >= 0 ? A / B : -((-A + B - 1) / B); };
    const int first = std::max(0, floorDiv(-top, pitch));
    const int last = std::min(count - 1, floorDiv(PL_P->Height() - 1 - top, pitch));
    const int needed = std::max(0, last - first + 1);
    if (static_cast<int>(rowControls_.size()) < needed) {
        while (static_cast<int>(rowControls_.size()) < needed)
            rowControls_.push_back(MakeRowControl());
        // The rows go to other controls now.
        controlRows_.assign(rowControls_.size(), -1);
    }
    const std::size_t controls = rowControls_.size();
    std::vector<bool> used(controls, false);
    for (int i = first; i <= last; ++i) {
        const std::size_t slot = static_cast<std::size_t>(i) % controls;
        used[slot] = true;
        if (controlRows_[slot] != i)
            ShowRowIn(slot, i);
        else
            rowControls_[slot]->SetTop(RowTop(i));
    }
    for (std::size_t slot = 0; slot < controls; ++slot)
        if (!used[slot]) {
            controlRows_[slot] = -1;
            rowControls_[slot]->Hide();
        }
}

void TList_Form::MoveRows(int) {
    // The controls are placed once the step is done (PlaceRows): only the rows in view have one.
}

void TList_Form::FitRowWidths(int Width) {
    for (TPlayListRow& row : rows_)
        row.Width = static_cast<std::int16_t>(std::clamp(Width, 0, 32767));
    RefreshRow();
}

void TList_Form::RefreshRow(int Index) {
    for (std::size_t slot = 0; slot < rowControls_.size(); ++slot)
        if (controlRows_[slot] >= 0 && (Index < 0 || controlRows_[slot] == Index))
            ShowRowIn(slot, controlRows_[slot]);
}

TPanel* TList_Form::RowAt(int Index) const {
    if (Index < 0 || Index >= RowTotal() || rowControls_.empty())
        return nullptr;
    const std::size_t slot = static_cast<std::size_t>(Index) % rowControls_.size();
    return controlRows_[slot] == Index ? rowControls_[slot] : nullptr;
}

int TList_Form::IndexOfRow(const QWidget* Control) const {
    for (const QWidget* w = Control; w != nullptr; w = w->parentWidget())
        for (std::size_t slot = 0; slot < rowControls_.size(); ++slot)
            if (rowControls_[slot] == w)
                return controlRows_[slot];
    return -1;
}

// --- The buttons' actions. ---

void TList_Form::AddFiles() {
    if (!ListsReady())
        return;
    if (State.PlayType != PlayTypes::MediaFile && State.PlayType != PlayTypes::Audio)
        return;
    SetMediaFileFilter(*MediaType_OD);
    if (!MediaType_OD->Execute())
        return;
    TStringList added;
    for (const std::string& file : MediaType_OD->Files) {
        if (State.PlayListFiles->IndexOf(file) >= 0)
            continue;
        State.PlayListFiles->Add(file);
        State.PlayListPositions->Add("0");
        added.Add(file);
    }
    if (added.Empty())
        return;
    AppendRows(added);
    RefitScroll();
}

void TList_Form::DeletePlayListEntry() {
    // A DVD's chapters and a picture-in-picture pair are not entries the main window can delete: the row
    // stays, so that rows and lists never disagree.
    if (State.PlayType == PlayTypes::Dvd || State.PlayType == PlayTypes::Pip)
        return;
    const int index = DeleteSelectedRow();
    win32::SendMessage(State.MainWindowHandle, WM_PLAYLIST_ITEMDELETED, 0, index);
    RowCount = RowTotal();
}

void TList_Form::EmptyPlayList() {
    win32::SendMessage(State.MainWindowHandle, WM_PLAYLIST_CLEARED, 0, 0);
    ClearRows();
    RowCount = 0;
}

void TList_Form::LoadPlayListDialog() {
    SetPlayListFileFilter(*LoadPlayList_OD);
    LoadPlayList_OD->Options |= ofFileMustExist | ofPathMustExist;
    if (!LoadPlayList_OD->Execute())
        return;
    // A name that names no file loads nothing, stops nothing and creates nothing.
    if (!LoadPlayListFile(LoadPlayList_OD->FileName))
        return;
    win32::SendMessage(State.MainWindowHandle, WM_PLAYLIST_FILELOADED, 0, 0);
    RebuildRows(*State.PlayListFiles);
    RefitScroll();
}

bool TList_Form::LoadPlayListFile(const std::string& FileName) {
    if (!ListsReady() || !win32::FileExists(FileName))
        return false;
    TStringList lines;
    lines.LoadFromFile(FileName);
    State.PlayListLines->Assign(lines);
    // Split at the last "===" that a number follows, as the stored lists are; duplicates (in any case) and
    // lines that name no file are skipped. What plays joins as a whole line, so that a name holding "==="
    // stays whole.
    LoadPlayListLines(*State.PlayListLines, State.CurrentMediaFile, *State.PlayListFiles,
                      *State.PlayListPositions);
    return true;
}

void TList_Form::SavePlayListAs() {
    if (!ListsReady() || State.PlayListFiles->Empty())
        return;
    SetPlayListFileFilter(*SaveAsPlayList_SD);
    if (!SaveAsPlayList_SD->Execute())
        return;
    State.PlayListLines->Clear();
    std::string name = SaveAsPlayList_SD->FileName;
    if (PlayListEntryName(name).find('.') == std::string::npos)
        name += ".kmvlf";
    // The extension is added after the dialog, so the dialog cannot ask: the question comes here.
    if (win32::FileExists(name) &&
        win32::MessageBox(Handle(), name + " already exists.\r\nDo you want to replace it?", "Information",
                          win32::MB_YESNO | win32::MB_ICONQUESTION) != win32::IDYES)
        return;
    PlayListLinesOf(*State.PlayListFiles, *State.PlayListPositions, *State.PlayListLines);
    State.PlayListLines->SaveToFile(name);
}

// --- Messages. ---

void TList_Form::WMMarkRow(TMessage& Message) {
    MarkCurrentRow(static_cast<int>(Message.LParam));
}

void TList_Form::WMSetCurrent(TMessage& Message) {
    if (Message.WParam == 1)
        ScrollStepDown();
    else if (Message.WParam == 2)
        ScrollStepUp();
    MarkCurrentRow(static_cast<int>(Message.LParam));
}

void TList_Form::WMSetDvdChapter(TMessage&) {
    MarkCurrentRow(State.DvdChapterIndex);
}

void TList_Form::WMReload(TMessage&) {
    if (!ListsReady())
        return;
    if (State.PlayType == PlayTypes::Dvd)
        RebuildAndMark(*State.DvdChapterList, State.DvdChapterIndex);
    else
        RebuildAndMark(*State.PlayListFiles, State.PlayListIndex);
}

void TList_Form::WMLoadFile(TMessage&) {
    LoadPlayListDialog();
}

void TList_Form::WMClear(TMessage&) {
    EmptyPlayList();
}

void TList_Form::WMSaveFile(TMessage&) {
    SavePlayListAs();
}

void TList_Form::WMAddFiles(TMessage&) {
    AddFiles();
}
