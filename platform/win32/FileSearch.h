#pragma once
// The run time's directory search (FindFirst, FindNext, FindClose) with its attribute mask, over the folder
// listing of the file system.
//
// On Linux an entry has these attributes: faDirectory for a folder, faHidden for a name that begins with
// ".", faReadOnly for a file that nobody may write, and faArchive for every file; links are followed. As with
// the Windows search, ordinary files are always found, and a hidden entry or a folder only when the mask
// holds its attribute (faSysFile and faVolumeID name nothing here). Entries that are neither files nor
// folders (devices, pipes, sockets, broken links) are never found. Entries come in the order the folder
// listing gives them, which the file system decides (not sorted).

#include <cstdint>
#include <memory>
#include <string>

namespace win32 {

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;

struct TSearchRec {
    std::string Name;
    int Attr = 0;
    std::int64_t Size = 0;

    // The open search (FindClose or the record's end closes it).
    struct Search;
    std::shared_ptr<Search> Handle;
};

// Starts a search for Path: a folder, "/" and a name pattern ("*" and "?" as wildcards, matched without
// regard to ASCII case; "*.*" finds every name). Returns 0 and fills F with the first entry found; otherwise
// an error code (an errno value: ENOENT when nothing matches), and F holds no search.
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
// The next entry of the search: 0 and F filled, or ENOENT at the end.
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

} // namespace win32
