#pragma once
// The history list: the stored file "HistoryList" (compressed), the merging of opened files into the
// history, the history submenu (three commands, a separator, one item per shown entry), the history manager's
// result, and the helpers that turn string lists into submenu items.
//
// Paths compare exactly (the file system tells "/m/A.avi" from "/m/a.avi"); captions of the entry items
// compare without regard to case, as menu captions do. Each entry item carries the full path it stands for.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/forms/Menus.h"
#include "platform/forms/StringList.h"

// The most a stored history may take in memory when it is read, its lines' bytes and strings together: far
// beyond any history a user makes (20,000 entries take about 2 MB), and what a damaged or forged file that
// unpacks to more is refused at.
inline constexpr std::size_t MaxHistoryBytes = std::size_t{64} << 20;

// IncludeTrailingSlash(ProjectPath) + "HistoryList".
std::string HistoryFileName();

// Replaces List's content with the stored history. A missing file is created empty (an empty history). A file
// that cannot be read, does not decompress or holds a line longer than a path leaves List empty, is moved
// aside ("HistoryList.bad", then numbered: win32::KeepDamagedEntry) and is reported in one message box;
// nothing is raised, so that the show step goes on.
void LoadHistoryList(forms::TStringList& List);
// The stored file's bytes for the history List: its text compressed at level 3. A compression failure raises
// compression::ECompressionError.
std::string PackHistory(const forms::TStringList& List);
// List := the history the stored file's bytes Packed hold; false, with List empty, when they are damaged: not
// one whole compressed stream, a line longer than a path, or more than MaxHistoryBytes (the unpacking stops
// there).
bool UnpackHistory(std::string_view Packed, forms::TStringList& List);
// Result := the history the manager left in "HistoryTemp" (TempLines), then the entries opened while it was
// open (those of Now that the manager was not Shown) that it does not hold. Lines the stored history could
// not read back are left out: those longer than a path, and any past MaxHistoryBytes.
void MergeHistoryTemp(const forms::TStringList& TempLines, const forms::TStringList& Shown,
                      const forms::TStringList& Now, forms::TStringList& Result);
// Writes List as the stored history: its text compressed at level 3, written to a temporary file and renamed
// over the history file. A compression failure raises compression::ECompressionError and a failed write the
// class library's file error; the history file is left as it was in both cases.
void SaveHistoryList(const forms::TStringList& List);
void SaveHistoryStream(const forms::TStringList& List);

// Appends to Dst every non-empty line of Src that Dst does not hold yet, in Src's order; returns how many it
// appended. A line longer than a path is no history entry (the stored history could not be read back with
// it) and is left out. Time linear in the two lists' lengths.
int AddUniqueLines(const forms::TStringList& Src, forms::TStringList& Dst);

// For each entry of List in order, unless its file name is empty or Parent already has a sub-item with that
// caption: a new item under Parent with the file name as caption ("&" shown as "&"), the entry's full path
// and the click handler OnClick. Owner is the window the items belong to (they are freed with Parent).
void AddFileNameItems(const forms::TStringList& List, forms::TMenuItem* Parent, QObject* Owner,
                      const forms::TNotifyEvent& OnClick);
// The full path the history item Item stands for; nullptr for anything that is no history item.
const std::string* HistoryItemPath(const QObject* Item);

// Removes the sub-items at positions 4 and above, last first; returns the old sub-item count minus 1.
int TrimMenuAfterFour(forms::TMenuItem* Item);
// Empties the history, its stored file and the entry items of HistoryMenu.
void ClearHistory(forms::TMenuItem* HistoryMenu);
// Runs the history manager on the history; with its result 1 the history, the entry items and the stored file
// become the list the manager left in "HistoryTemp" (empty when there is none). "HistoryTemp" is removed
// before the manager runs, so that a file of an earlier run is never taken for its answer. Files opened while
// the manager was open are kept at the end.
void ManageHistory(forms::TMenuItem* HistoryMenu, QObject* Owner, const forms::TNotifyEvent& OnClick);
// Flips Item's check mark; ClearHistoryExit and [File] ClearHistoryExit follow it.
void ToggleClearHistoryExit(forms::TMenuItem* Item);
// ClearHistoryExit := [File] ClearHistoryExit; 1 checks Item, 0 unchecks it, any other value leaves it.
void LoadClearHistoryExitMenu(forms::TMenuItem* Item);

// Replaces Parent's sub-items by one item per line of List (caption: the whole line), with the click handler
// OnClick.
void FillMenuFromList(const forms::TStringList& List, QObject* Owner, forms::TMenuItem* Parent,
                      const forms::TNotifyEvent& OnClick);
// Removes and frees all sub-items of each item.
void ClearMenus(const forms::TMenuItemArray& Items);
// Unchecks every sub-item of Item; nothing for no item.
void UncheckSubItems(forms::TMenuItem* Item);
// Frees every sub-item of Item, last first.
void FreeSubItems(forms::TMenuItem* Item);

// Text as a menu caption that shows it as it is ("&" doubled; a lone "-" would be a separator line), and
// back: the text a caption shows (accelerator marks removed, "&&" as "&").
std::string MenuCaptionOf(std::string_view Text);
std::string MenuCaptionText(std::string_view Caption);
