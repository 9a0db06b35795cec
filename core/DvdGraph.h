#pragma once
// DVD graphs, disc folders and drives: the graph built filter by filter around the DVD navigator for one
// disc (a folder holding its VIDEO_TS files, or an optical drive), the chapter list the play-list window
// shows, the search of a folder tree for disc folders, and the optical drives with their discs.
//
// A drive is named by its root, the device node of the drive (/dev/sr0), or by the folder its disc is mounted
// on; DvdDriveRootOf says whether a text names one, and every test of a "drive root" goes through it.

#include <string>

#include "platform/forms/StringList.h"

// Builds and runs the DVD graph for Path. False, with the partial graph released and PlayType and the flags
// as they were, when the navigator, the graph or the sample grabber cannot be made, when Path holds no disc
// that plays, or when the disc's picture cannot be brought to the renderer.
bool OpenDvd(const std::string& Path);
// The sample grabber takes RGB32 video (an inner step of OpenDvd).
void ConfigureSampleGrabber();
// Refills List from the disc in the navigator ("DVD", then "Chapter" + c + "(" + t + "-" + c + ")" for each
// chapter of each title) and sets VideoWidth x VideoHeight from title 1. List becomes just "DVD" when the
// disc's volume cannot be read; false when a title's chapters cannot be counted (the list then ends there).
bool BuildChapterList(forms::TStringList& List);
// The index in DvdChapterList of the title and chapter now playing; -1 when that entry is absent or the
// navigator cannot say where it is.
int CurrentChapterIndex();
// The entry of the DVD list for chapter Chapter of title Title: "Chapter12(3-12)".
std::string ChapterEntry(long long Title, long long Chapter);
// The title and chapter of a row of the DVD list ("Chapter12(3-12)" gives 3 and 12); both 0 for "DVD" and
// for any text whose numbers are missing or not decimal (the stored list can be edited by hand).
void ParseChapterText(const std::string& Text, int& Title, int& Chapter);

// Adds to IfoFolderList, VobFolderList and DvdFolderList the folders under Dir (ending in "/") that hold
// ".IFO" files, ".VOB" files, and both. Symbolic links are followed to their targets; each folder is searched
// once and the depth is bounded, so a link loop or a search from "/" ends; folders are told apart with
// regard to case.
void FindDvdFolders(const std::string& Dir);

// Clears List and fills it with the optical drives: the root, and when a readable volume is in it a blank
// and the volume's label. True when at least one holds a readable volume.
bool ListCdDrives(forms::TStringList& List);
// True when Root names an optical drive that holds a readable volume.
bool IsDvdDriveReady(const std::string& Root);
// True when Path is the root of an optical drive (a DVD opened from a drive), not a disc folder.
bool IsDvdDrivePath(const std::string& Path);
// The root of the optical drive that Text names: its root, or the folder its disc is mounted on, alone or
// followed by a blank and more (a drive item's caption: the root, a blank and the label); "" when Text names
// no drive.
std::string DvdDriveRootOf(const std::string& Text);
