#pragma once
// The exports of the helper library libHurlvanApi.so: helpers for a program that shows folders and files in
// tree views and list views. No part of the player loads the library; a caller opens it (dlopen) and finds
// the exports by these names (dlsym). This header is the library's whole interface.
//
// Calling convention:
// - every export returns 0 when it ran to its end and HurlvanUnexpected (0x8000FFFF) when it failed; no
//   exception leaves an export; out-arguments keep what was written before a failure;
// - texts are zero-terminated UTF-8; a null text counts as the empty text;
// - tree views, tree nodes and list views are the caller's objects of the class library
//   (platform/forms/ComCtrls.h): the library and its caller share one process and one class library. An
//   argument written "var" in the comments is a pointer to the caller's variable that holds the object;
//   a null object (or a null pointer to it) makes the export fail, as a null out-argument does;
// - a text handed back (Files, Value) belongs to the library: it stays valid until the next call of the same
//   export on the same thread;
// - Button is 0 for the left, 1 for the right, 2 for the middle mouse button; X and Y are in the view's own
//   coordinates (its frame included); Ok is one byte, 0 or 1;
// - the registry key is HKEY_CURRENT_USER "\Software\HurlvanWebCapture" of the user's registry store
//   ("TarvexDvd/registry" in $XDG_CONFIG_HOME, else in ~/.config).

#include <cstdint>

namespace forms {
class TListView;
class TTreeNode;
class TTreeView;
} // namespace forms

#define HURLVAN_EXPORT __attribute__((visibility("default")))

inline constexpr std::int32_t HurlvanOk = 0;
inline constexpr std::int32_t HurlvanUnexpected = static_cast<std::int32_t>(0x8000FFFFu);

extern "C" {

// Files := the names of the files of the folder Dir, each followed by one CR (character 13), in the order
// the folder listing gives them; folders and hidden entries (names that begin with ".") are left out, and
// so is a name that holds a CR. An empty text when there is none (or Dir is no folder). Fails for an empty
// Dir, leaving Files unwritten.
HURLVAN_EXPORT std::int32_t LoadFileFromDir(const char* Dir, const char** Files);

// Writes the string value Name := Value under the library's registry key, creating the key when missing;
// Ok := 1 when written. Fails (Ok 0) when the registry store cannot be written.
HURLVAN_EXPORT std::int32_t RegAppKeyValue(const char* Name, const char* Value, std::uint8_t* Ok);

// Value := the string value Name of the library's registry key; "" when the value is missing. When the key
// is missing, a message box says "Can not find Registry Information.", Value stays "" and the result is 0.
HURLVAN_EXPORT std::int32_t GetAppKeyValue(const char* Name, const char** Value);

// The image indexes of Node: 2 and 2 (image, selected image) when it is TreeView's selected node, otherwise
// 0 and 1.
HURLVAN_EXPORT std::int32_t SetNodeImgIndex(forms::TTreeNode* Node, forms::TTreeView* TreeView);

// A right click (Button 1) at (X, Y) selects the node there; anything else changes nothing.
HURLVAN_EXPORT std::int32_t RightToSelected(std::int32_t Button, std::int32_t X, std::int32_t Y,
                                            forms::TTreeView** TreeView);

// A right click (Button 1) at (X, Y) selects the list item there; anything else changes nothing.
HURLVAN_EXPORT std::int32_t LVRightToSelected(std::int32_t Button, std::int32_t X, std::int32_t Y,
                                              forms::TListView** ListView);

// Cancels the label editing of the node at (X, Y) when its text is "Recycle bin" (case-sensitive).
HURLVAN_EXPORT std::int32_t DoNotEditNode(std::int32_t X, std::int32_t Y, forms::TTreeView** TreeView);

// Adds one item per file of Dir (as LoadFileFromDir finds them, in its order) to ListView: the file name as
// its caption, Dir as its one sub-item. The list is not cleared first. Fails as LoadFileFromDir does,
// adding nothing.
HURLVAN_EXPORT std::int32_t ShowTemplateOrDB(const char* Dir, forms::TListView* ListView);
}
