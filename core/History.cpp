#include "core/History.h"

#include <filesystem>
#include <unordered_set>
#include <vector>

#include "core/DialogLaunchers.h"
#include "core/PlaybackState.h"
#include "core/Settings.h"
#include "platform/compress/Compression.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Streams.h"
#include "platform/win32/Files.h"

namespace {

// An entry item of the history submenu: the caption is only the file name, the item plays its own path.
class THistoryMenuItem : public forms::TMenuItem {
public:
    explicit THistoryMenuItem(std::string Path) : path_(std::move(Path)) {}
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// MovedTo: the name the damaged file was moved to, or nullopt when it could not be moved.
void ReportUnreadableHistory(const std::string& Name, const std::optional<std::string>& MovedTo) {
    const std::string text = MovedTo
                                 ? "The history list \"" + Name + "\" could not be read. It was moved to \"" +
                                       *MovedTo + "\" and the history starts empty."
                                 : "The history list \"" + Name +
                                       "\" could not be read, nor moved aside. The history starts empty.";
    forms::Application().MessageBox(text, "Information", win32::MB_OK | win32::MB_ICONINFORMATION);
}

// The text of a history as it is unpacked, refused as soon as it cannot be one: each entry is a path, so a
// longer line is damage; and the whole list in memory (each line's bytes and its string) stays within
// MaxHistoryBytes, so that a small file unpacking to gigabytes is given up early.
class THistoryText {
public:
    bool Take(std::string_view Piece) {
        for (const char c : Piece) {
            if (c == '\r' || c == '\n') {
                // CR LF ends one line, as a lone CR or LF does.
                if (!(c == '\n' && afterCr_))
                    ++lines_;
                afterCr_ = c == '\r';
                lineLength_ = 0;
            } else {
                afterCr_ = false;
                if (++lineLength_ > win32::MaxPathLength)
                    return false;
            }
        }
        text_.append(Piece);
        return text_.size() + (lines_ + 1) * sizeof(std::string) <= MaxHistoryBytes;
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    std::size_t lines_ = 0;
    std::size_t lineLength_ = 0;
    bool afterCr_ = false;
};

} // namespace

std::string HistoryFileName() {
    return IncludeTrailingSlash(State.ProjectPath) + "HistoryList";
}

void SaveHistoryList(const forms::TStringList& List) {
    // The file is written whole under another name and renamed: there is no moment at which it is empty or
    // cut short, so it need not be created first.
    SaveHistoryStream(List);
}

std::string PackHistory(const forms::TStringList& List) {
    forms::TMemoryStream text;
    text.Write(List.Text());
    text.SetPosition(0);
    forms::TMemoryStream packed;
    compression::CheckCompressionStatus(compression::MyCompression(text, packed, 3));
    return packed.Bytes();
}

void SaveHistoryStream(const forms::TStringList& List) {
    const std::string packed = PackHistory(List);
    const std::string name = HistoryFileName();
    if (!win32::WriteFileAtomically(name, packed))
        throw forms::EClassLibraryError("Cannot create file \"" + name + "\".");
}

bool UnpackHistory(std::string_view Packed, forms::TStringList& List) {
    forms::TMemoryStream packed;
    packed.Write(Packed);
    packed.SetPosition(0);
    THistoryText text;
    List.Clear();
    if (compression::DecompressInPieces(packed, [&](std::string_view Piece) { return text.Take(Piece); }) < 0)
        return false;
    List.SetText(text.Text());
    return true;
}

void MergeHistoryTemp(const forms::TStringList& TempLines, const forms::TStringList& Shown,
                      const forms::TStringList& Now, forms::TStringList& Result) {
    Result.Clear();
    // Only what the stored history can hold and read back: no line longer than a path, and within the
    // reader's bound (each line counted with its line end).
    std::size_t cost = sizeof(std::string);
    for (const std::string& line : TempLines) {
        if (line.size() > win32::MaxPathLength)
            continue;
        cost += line.size() + 2 + sizeof(std::string);
        if (cost > MaxHistoryBytes)
            break;
        Result.Add(line);
    }
    std::unordered_set<std::string_view> before(Shown.begin(), Shown.end());
    forms::TStringList opened;
    for (const std::string& entry : Now)
        if (!before.contains(entry))
            opened.Add(entry);
    AddUniqueLines(opened, Result);
}

void LoadHistoryList(forms::TStringList& List) {
    const std::string name = HistoryFileName();
    std::error_code error;
    std::optional<std::string> bytes = win32::ReadWholeFile(name, error);
    if (!bytes && error == std::errc::no_such_file_or_directory) {
        // The first start: an empty file is an empty history. When it cannot be made, the first save says so.
        win32::WriteFileAtomically(name, "");
        bytes.emplace();
    }
    if (bytes && UnpackHistory(*bytes, List))
        return;
    // A damaged file must not stop every start-up, nor be overwritten by the next save: it is kept aside.
    List.Clear();
    ReportUnreadableHistory(name, win32::KeepDamagedEntry(name));
}

int AddUniqueLines(const forms::TStringList& Src, forms::TStringList& Dst) {
    if (&Src == &Dst)
        return 0;
    // Views into Dst are only looked at before Dst grows; the lines to add are Src's own.
    std::unordered_set<std::string_view> seen;
    seen.reserve(static_cast<std::size_t>(Dst.Count() + Src.Count()));
    for (const std::string& entry : Dst)
        seen.insert(entry);
    std::vector<const std::string*> adding;
    for (const std::string& line : Src)
        if (!line.empty() && line.size() <= win32::MaxPathLength && seen.insert(line).second)
            adding.push_back(&line);
    for (const std::string* line : adding)
        Dst.Add(*line);
    return static_cast<int>(adding.size());
}

std::string MenuCaptionOf(std::string_view Text) {
    if (Text == "-")
        return "&-";
    std::string caption;
    caption.reserve(Text.size());
    for (const char c : Text) {
        if (c == '&')
            caption += '&';
        caption += c;
    }
    return caption;
}

std::string MenuCaptionText(std::string_view Caption) {
    std::string text;
    text.reserve(Caption.size());
    for (std::size_t i = 0; i < Caption.size(); ++i) {
        if (Caption[i] != '&') {
            text += Caption[i];
            continue;
        }
        // "&&" shows one "&"; a single "&" only marks the next character as the accelerator.
        if (i + 1 < Caption.size() && Caption[i + 1] == '&') {
            text += '&';
            ++i;
        }
    }
    return text;
}

void AddFileNameItems(const forms::TStringList& List, forms::TMenuItem* Parent, QObject*,
                      const forms::TNotifyEvent& OnClick) {
    if (Parent == nullptr)
        return;
    std::unordered_set<std::string> captions;
    captions.reserve(static_cast<std::size_t>(Parent->Count() + List.Count()));
    for (int i = 0; i < Parent->Count(); ++i)
        if (const std::string& caption = Parent->Items(i)->Caption(); caption != "-") // no separator line
            captions.insert(forms::LowerCase(MenuCaptionText(caption)));
    for (const std::string& entry : List) {
        const std::string name = ExtractFileName(entry);
        if (name.empty() || !captions.insert(forms::LowerCase(name)).second)
            continue;
        auto* item = new THistoryMenuItem(entry);
        item->SetCaption(MenuCaptionOf(name));
        item->OnClick = OnClick;
        Parent->Add(item);
    }
}

const std::string* HistoryItemPath(const QObject* Item) {
    const auto* item = dynamic_cast<const THistoryMenuItem*>(Item);
    return item != nullptr ? &item->Path() : nullptr;
}

int TrimMenuAfterFour(forms::TMenuItem* Item) {
    const int count = Item->Count();
    Item->DeleteFrom(4);
    return count - 1;
}

void ClearHistory(forms::TMenuItem* HistoryMenu) {
    TrimMenuAfterFour(HistoryMenu);
    State.History->Clear();
    SaveHistoryList(*State.History);
}

void ManageHistory(forms::TMenuItem* HistoryMenu, QObject* Owner, const forms::TNotifyEvent& OnClick) {
    const std::string temp = IncludeTrailingSlash(State.AppPath) + "HistoryTemp";
    std::error_code removeError;
    std::filesystem::remove(temp, removeError);
    // The manager gets a copy: the history may grow while it is open (a play list going on to its next file).
    forms::TStringList shown;
    shown.Assign(*State.History);
    std::int32_t result = 0;
    ManageHistoryForm(State.MainWindowHandle, &shown, &result, State.Language);
    if (result != 1)
        return;
    forms::TStringList managed, list;
    if (win32::FileExists(temp))
        managed.LoadFromFile(temp);
    MergeHistoryTemp(managed, shown, *State.History, list);
    TrimMenuAfterFour(HistoryMenu);
    AddFileNameItems(list, HistoryMenu, Owner, OnClick);
    SaveHistoryList(list);
    State.History->Assign(list);
}

void ToggleClearHistoryExit(forms::TMenuItem* Item) {
    Item->SetChecked(!Item->Checked());
    State.ClearHistoryExit = Item->Checked() ? 1 : 0;
    WriteIniInteger("File", "ClearHistoryExit", State.ClearHistoryExit);
}

void LoadClearHistoryExitMenu(forms::TMenuItem* Item) {
    State.ClearHistoryExit = ReadIniInteger("File", "ClearHistoryExit");
    if (State.ClearHistoryExit == 1)
        Item->SetChecked(true);
    else if (State.ClearHistoryExit == 0)
        Item->SetChecked(false);
}

void FillMenuFromList(const forms::TStringList& List, QObject*, forms::TMenuItem* Parent,
                      const forms::TNotifyEvent& OnClick) {
    if (Parent == nullptr)
        return;
    Parent->Clear();
    for (const std::string& line : List) {
        auto* item = new forms::TMenuItem;
        item->SetCaption(line);
        item->OnClick = OnClick;
        Parent->Add(item);
    }
}

void ClearMenus(const forms::TMenuItemArray& Items) {
    for (forms::TMenuItem* item : Items)
        if (item != nullptr)
            item->Clear();
}

void UncheckSubItems(forms::TMenuItem* Item) {
    if (Item == nullptr)
        return;
    for (int i = 0; i < Item->Count(); ++i)
        Item->Items(i)->SetChecked(false);
}

void FreeSubItems(forms::TMenuItem* Item) {
    if (Item != nullptr)
        Item->DeleteFrom(0);
}
