#pragma once
// A look at a disc's information files before libdvdread parses them. libdvdread 6.1 trusts the table
// places and sizes an IFO declares: a table that lies past the end of the file, or one that says it is longer
// than what the file holds, sends it down error paths that free memory twice or read past what they
// allocated, and the whole program goes down (a VIDEO_TS.IFO cut to 2048-4095 bytes does so at every open).
// The check walks every table libdvdread reads from the file, as it would read it, and says whether each one
// lies whole within the file; a file that passes is read by libdvdread without touching those paths.

#include <cstddef>
#include <cstdint>
#include <string>

#include <dvdread/dvd_reader.h>

namespace dshow {

enum class IfoKind {
    VideoManager, // VIDEO_TS.IFO
    TitleSet,     // VTS_nn_0.IFO
};

// Data holds the bytes libdvdread can read from the file: its whole 2048-byte sectors (a partial last sector
// cannot be read). True when every table the library reads lies within them and declares sizes it can take;
// otherwise false, with what is wrong in Reason.
bool IfoTablesFit(const std::uint8_t* Data, std::size_t Size, IfoKind Kind, std::string* Reason = nullptr);

// The check for every information file of the disc Dvd opens that libdvdread and libdvdnav will parse: the
// video manager's, and that of each title set it names, each as libdvdread picks it (the IFO, or its backup
// when there is no IFO). A title set without either file is left to the libraries, which pass over it.
bool DiscInfoFilesFit(dvd_reader_t* Dvd, std::string* Reason = nullptr);

} // namespace dshow
