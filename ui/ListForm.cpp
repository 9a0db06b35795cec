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

void TList_Form::LoadSkinBitmap(TImage* Image, const std::string& FileName) {
    Image->Picture().LoadFromFile(State.SkinPath + FileName);
}

// --- Rows. ---

void TList_Form::AddRow(const std::string& Text) {
    AppendRow([&](int Top) {
        auto* row = new TPanel(PL_P);
        row->SetBevelOuter(bvNone);
        row->SetDoubleBuffered(true);
        const bool chapter = State.PlayType == PlayTypes::Dvd && Text != "DVD";
        row->SetBounds(chapter ? 24 : 8, Top, 170, 20);
        row->SetColor(clBlack);
        row->Font().SetColor(clBlack);
        row->SetCaption(std::to_string(RowCount));
        ++RowCount;
        auto* icon = new tximage(row);
        icon->SetName("Icon");
        icon->SetBounds(0, 0, 20, 20);
        icon->SetStretch(true);
        icon->SetTransparent(true);
        const std::string file = State.PlayType == PlayTypes::Dvd && RowCount == 1
                                     ? "Dvd.bmp"
                                     : RowIconFile(Text, RowCount - 1, false);
        if (!file.empty())
            LoadSkinBitmap(icon, file);
        auto* label = new TLabel(row);
        label->SetName("Label");
        label->SetLeft(22);
        label->SetTop(4);
        label->Font().Assign(*State.UiFont);
        label->Font().SetColor(Colour(State.LightGreyColor));
        label->SetTransparent(true);
        label->SetCursor(crHandPoint);
        label->SetHint(Text);
        label->SetShowHint(true);
        label->SetCaption(PlayListRowText(Text, RowCount, State.PlayType == PlayTypes::Dvd));
        label->OnClick = [this](TObject* Sender) { SelectRowClick(Sender); };
        label->OnDblClick = [this](TObject* Sender) { PlayRowDblClick(Sender); };
        row->Show();
        return row;
    });
}

void TList_Form::AppendRows(const TStringList& List) {
    for (const std::string& text : List)
        AddRow(text);
}

void TList_Form::RemoveAllRows() {
    ResetScrollState();
    RowCount = 0;
    RefitScroll();
    FreeRows();
}

void TList_Form::RebuildRows(const TStringList& List) {
    RemoveAllRows();
    AppendRows(List);
}

void TList_Form::RebuildAndMark(const TStringList& List, int Index) {
    RebuildRows(List);
    if (TPanel* row = RowAt(Index)) {
        ShowRowPlaying(row, Index, clWhite);
        ScrollRowIntoView(row);
    }
}

int TList_Form::DeleteSelectedRow() {
    return RemoveSelectedRow();
}

void TList_Form::ClearRows() {
    FreeRows();
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

void TList_Form::ShowRow(TPanel* Row, int Index, TColor Color, bool Playing) {
    TLabel* label = RowLabel(Row);
    tximage* icon = RowIcon(Row);
    if (label == nullptr || icon == nullptr)
        return;
    label->Font().Assign(*State.UiFont);
    label->Font().SetColor(Color);
    // The first DVD row keeps its disc.
    if (const std::string file = RowIconFile(label->Caption(), Index, Playing); !file.empty())
        LoadSkinBitmap(icon, file);
}

void TList_Form::ShowRowNormal(TPanel* Row, int Index, TColor Color) {
    ShowRow(Row, Index, Color, false);
}

void TList_Form::ShowRowPlaying(TPanel* Row, int Index, TColor Color) {
    ShowRow(Row, Index, Color, true);
}

void TList_Form::ShowAllRowsNormal(TColor Color) {
    for (int i = 0; i < RowTotal(); ++i)
        ShowRowNormal(RowAt(i), i, Color);
}

void TList_Form::MarkCurrentRow(int Index) {
    ShowAllRowsNormal(Colour(State.LightGreyColor));
    TPanel* row = RowAt(Index);
    if (row == nullptr)
        return;
    ShowRowPlaying(row, Index, cl3DLight);
    ScrollRowIntoView(row);
}

void TList_Form::ClearRowColors(TColor Color) {
    for (TPanel* row : Rows()) {
        row->SetColor(Color);
        row->Font().SetColor(Color);
    }
}

void TList_Form::SelectRowClick(TObject* Sender) {
    const int index = IndexOfRow(qobject_cast<QWidget*>(Sender));
    TPanel* row = RowAt(index);
    if (row == nullptr)
        return;
    ClearRowColors(clBlack);
    row->SetColor(Colour(State.DarkGreyColor));
    row->Font().SetColor(Colour(State.DarkGreyColor));
    State.SelectedPlayListRow = index;
}

void TList_Form::PlayRowDblClick(TObject* Sender) {
    const int index = IndexOfRow(qobject_cast<QWidget*>(Sender));
    TLabel* label = RowLabel(RowAt(index));
    if (label == nullptr)
        return;
    State.SelectedListText = label->Caption();
    MarkCurrentRow(index);
    switch (State.PlayType) {
    case PlayTypes::Dvd:
        // The row's text travels with the message: a second double click before the main window gets to
        // the first must not change what the first one plays.
        win32::PostMessage(State.MainWindowHandle,
                           State.DvdControl2 ? WM_PLAYLIST_PLAYDVDCHAPTER : WM_PLAYLIST_OPENDVDCHAPTER, 0,
                           ListTextParcels.Put(label->Caption()));
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

void TList_Form::RenumberRowLabel(TPanel* Row, int Index) {
    TLabel* label = RowLabel(Row);
    if (label == nullptr)
        return;
    const std::string text = label->Caption();
    const auto dot = text.find('.');
    if (dot == std::string::npos)
        return;
    label->SetCaption(std::to_string(Index + 1) + text.substr(dot));
}

void TList_Form::RowMoved(TPanel* Row, int NewIndex) {
    RenumberRowLabel(Row, NewIndex);
    Row->SetCaption(std::to_string(NewIndex));
}

void TList_Form::ScrollRowIntoView(TPanel* Row) {
    if (Row == nullptr)
        return;
    MeasureScroll();
    scroll_.ScrollIntoView(Row->Top());
    ShowScrollState();
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
