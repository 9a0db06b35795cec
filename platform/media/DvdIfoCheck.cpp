#include "platform/media/DvdIfoCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include <dvdread/ifo_types.h>

namespace dshow {

namespace {

constexpr std::uint64_t SectorBytes = 2048;

// The tables' on-disc sizes, as libdvdread reads them.
constexpr std::uint64_t ProgramChainBytes = PGC_SIZE;
constexpr std::uint64_t CommandBytes = 8;
constexpr std::uint64_t CellPlaybackBytes = sizeof(cell_playback_t);
constexpr std::uint64_t CellPositionBytes = sizeof(cell_position_t);
constexpr std::uint64_t PartOfTitleBytes = sizeof(ptt_info_t);
// Far more than any disc's information file holds (its tables grow with the length of its video, a few
// hundred kilobytes for hours); a larger one is not read.
constexpr std::uint64_t LargestInfoFile = 64u << 20;
constexpr int LastTitleSet = 99;

std::uint32_t Be16(const std::uint8_t* P) {
    return (std::uint32_t{P[0]} << 8) | P[1];
}
std::uint32_t Be32(const std::uint8_t* P) {
    return (Be16(P) << 16) | Be16(P + 2);
}

// Walks the tables of one file the way libdvdread reads them, stopping at the first that does not fit.
class IfoWalk {
public:
    IfoWalk(const std::uint8_t* Data, std::size_t Size) : data_(Data), size_(Size) {}

    bool VideoManager() {
        if (!Fits(0, sizeof(vmgi_mat_t), "the header") || !Identified("DVDVIDEO-VMG"))
            return false;
        const std::uint32_t firstPlay = Be32(offsetof(vmgi_mat_t, first_play_pgc));
        if (firstPlay != 0 && !ProgramChain(firstPlay))
            return false;
        static constexpr SectorTable Tables[] = {
            {offsetof(vmgi_mat_t, tt_srpt), true, &IfoWalk::TitleTable},
            {offsetof(vmgi_mat_t, vmgm_pgci_ut), false, &IfoWalk::MenuUnits},
            {offsetof(vmgi_mat_t, ptl_mait), false, &IfoWalk::ParentalTable},
            {offsetof(vmgi_mat_t, vts_atrt), true, &IfoWalk::AttributeTable},
            {offsetof(vmgi_mat_t, txtdt_mgi), false, &IfoWalk::TextTable},
            {offsetof(vmgi_mat_t, vmgm_c_adt), false, &IfoWalk::CellAddresses},
            {offsetof(vmgi_mat_t, vmgm_vobu_admap), false, &IfoWalk::UnitAddresses},
        };
        return TablesFit(Tables);
    }

    bool TitleSet() {
        if (!Fits(0, sizeof(vtsi_mat_t), "the header") || !Identified("DVDVIDEO-VTS"))
            return false;
        static constexpr SectorTable Tables[] = {
            {offsetof(vtsi_mat_t, vts_ptt_srpt), true, &IfoWalk::PartsOfTitles},
            {offsetof(vtsi_mat_t, vts_pgcit), true, &IfoWalk::TitleChains},
            {offsetof(vtsi_mat_t, vtsm_pgci_ut), false, &IfoWalk::MenuUnits},
            {offsetof(vtsi_mat_t, vts_tmapt), false, &IfoWalk::TimeMaps},
            {offsetof(vtsi_mat_t, vtsm_c_adt), false, &IfoWalk::CellAddresses},
            {offsetof(vtsi_mat_t, vtsm_vobu_admap), false, &IfoWalk::UnitAddresses},
            {offsetof(vtsi_mat_t, vts_c_adt), true, &IfoWalk::CellAddresses},
            {offsetof(vtsi_mat_t, vts_vobu_admap), true, &IfoWalk::UnitAddresses},
        };
        return TablesFit(Tables) && ChaptersPlayable();
    }

    const std::string& Reason() const { return reason_; }
    // A title set's titles, each with its number of chapters, once TitleSet has passed.
    const std::vector<std::uint32_t>& Chapters() const { return chapters_; }

private:
    // Length bytes from At, all within the file. A read of nothing counts as failed, as libdvdread counts it
    // wherever it does not leave such a read out.
    bool Fits(std::uint64_t At, std::uint64_t Length, const char* What) {
        if (Length > 0 && At <= size_ && Length <= size_ - At)
            return true;
        reason_ = std::string(What) + (Length == 0 ? " is empty" : " lies beyond the end of the file");
        return false;
    }

    bool Fail(const char* What) {
        reason_ = What;
        return false;
    }

    std::uint32_t Be16(std::uint64_t At) const { return dshow::Be16(data_ + At); }
    std::uint32_t Be32(std::uint64_t At) const { return dshow::Be32(data_ + At); }

    bool Identified(const char* Identifier) {
        if (std::memcmp(data_, Identifier, 12) == 0)
            return true;
        return Fail("the file is not a DVD information file of its kind");
    }

    // A table whose sector the header gives at Field (0: no table, which a mandatory one must not be), and
    // what reads it from its first byte.
    struct SectorTable {
        std::size_t Field;
        bool Mandatory;
        bool (IfoWalk::*Walk)(std::uint64_t At);
    };

    template <std::size_t N> bool TablesFit(const SectorTable (&Tables)[N]) {
        for (const SectorTable& table : Tables) {
            const std::uint32_t sector = Be32(table.Field);
            if (sector == 0 ? table.Mandatory && !Fail("a table the disc must have is missing")
                            : !(this->*table.Walk)(sector * SectorBytes))
                return false;
        }
        return true;
    }

    bool TextTable(std::uint64_t At) { return Fits(At, TXTDT_MGI_SIZE, "the text table"); }

    bool TitleChains(std::uint64_t At) { return ProgramChains(At, &titleChainPrograms_); }

    // A table's size from the offset of its last byte, read at LastByteAt: the bytes past its header of
    // Header bytes, or false when it declares fewer (libdvdread takes that length as a signed 32-bit number).
    bool BytesAfterHeader(std::uint64_t Header, std::uint64_t LastByteAt, std::uint64_t& Bytes,
                          const char* What) {
        const std::uint64_t length = std::uint64_t{Be32(LastByteAt)} + 1;
        if (length < Header || length - Header > 0x7FFFFFFF)
            return Fail(What);
        Bytes = length - Header;
        return true;
    }

    bool TitleTable(std::uint64_t At) {
        std::uint64_t info = 0;
        return Fits(At, TT_SRPT_SIZE, "the title table") &&
               BytesAfterHeader(TT_SRPT_SIZE, At + 4, info, "the title table declares a wrong size") &&
               Fits(At + TT_SRPT_SIZE, info, "the title table");
    }

    bool ParentalTable(std::uint64_t At) {
        if (!Fits(At, PTL_MAIT_SIZE, "the parental table"))
            return false;
        const std::uint32_t countries = Be16(At);
        const std::uint32_t titleSets = Be16(At + 2);
        if (countries == 0)
            return true;
        if (!Fits(At + PTL_MAIT_SIZE, std::uint64_t{countries} * PTL_MAIT_COUNTRY_SIZE, "the parental table"))
            return false;
        for (std::uint32_t i = 0; i < countries; ++i) {
            const std::uint64_t start = Be16(At + PTL_MAIT_SIZE + i * PTL_MAIT_COUNTRY_SIZE + 4);
            if (!Fits(At + start, (std::uint64_t{titleSets} + 1) * sizeof(pf_level_t), "the parental levels"))
                return false;
        }
        return true;
    }

    // A table whose header counts its entries, followed by each entry's offset from the table's start (4
    // bytes each); Entry checks the entry at an offset.
    template <class Entry>
    bool OffsetTable(std::uint64_t At, std::uint64_t Header, const char* What, Entry EntryAt) {
        if (!Fits(At, Header, What))
            return false;
        const std::uint32_t entries = Be16(At);
        if (!Fits(At + Header, std::uint64_t{entries} * 4, What))
            return false;
        for (std::uint32_t i = 0; i < entries; ++i)
            if (!EntryAt(At + Be32(At + Header + i * 4)))
                return false;
        return true;
    }

    bool AttributeTable(std::uint64_t At) {
        return OffsetTable(At, VTS_ATRT_SIZE, "the title set attributes", [this](std::uint64_t Entry) {
            return Fits(Entry, sizeof(vts_attributes_t), "the attributes of a title set");
        });
    }

    bool CellAddresses(std::uint64_t At) {
        std::uint64_t info = 0;
        if (!Fits(At, C_ADT_SIZE, "the cell addresses") ||
            !BytesAfterHeader(C_ADT_SIZE, At + 4, info, "the cell addresses declare a wrong size"))
            return false;
        return info == 0 || Fits(At + C_ADT_SIZE, info, "the cell addresses");
    }

    bool UnitAddresses(std::uint64_t At) {
        std::uint64_t info = 0;
        if (!Fits(At, VOBU_ADMAP_SIZE, "the unit addresses") ||
            !BytesAfterHeader(VOBU_ADMAP_SIZE, At, info, "the unit addresses declare a wrong size"))
            return false;
        return info == 0 || Fits(At + VOBU_ADMAP_SIZE, info, "the unit addresses");
    }

    // The menu language units, each with its program chain table (several may share one).
    bool MenuUnits(std::uint64_t At) {
        if (!Fits(At, PGCI_UT_SIZE, "the menu table"))
            return false;
        const std::uint32_t units = Be16(At);
        if (!Fits(At + PGCI_UT_SIZE, std::uint64_t{units} * PGCI_LU_SIZE, "the menu table"))
            return false;
        std::set<std::uint32_t> read;
        for (std::uint32_t i = 0; i < units; ++i) {
            const std::uint32_t start = Be32(At + PGCI_UT_SIZE + i * PGCI_LU_SIZE + 4);
            if (read.insert(start).second && !ProgramChains(At + start))
                return false;
        }
        return true;
    }

    // A program chain table: its search pointers and each program chain they name once. Programs, when
    // given, gets the number of programs of each chain, in the table's order.
    bool ProgramChains(std::uint64_t At, std::vector<std::uint32_t>* Programs = nullptr) {
        if (!Fits(At, PGCIT_SIZE, "a program chain table"))
            return false;
        const std::uint32_t chains = Be16(At);
        if (chains == 0)
            return true;
        if (!Fits(At + PGCIT_SIZE, std::uint64_t{chains} * PGCI_SRP_SIZE, "a program chain table"))
            return false;
        std::set<std::uint32_t> read;
        for (std::uint32_t i = 0; i < chains; ++i) {
            const std::uint32_t start = Be32(At + PGCIT_SIZE + i * PGCI_SRP_SIZE + 4);
            if (read.insert(start).second && !ProgramChain(At + start))
                return false;
            if (Programs != nullptr)
                Programs->push_back(data_[At + start + offsetof(pgc_t, nr_of_programs)]);
        }
        return true;
    }

    bool ProgramChain(std::uint64_t At) {
        if (!Fits(At, ProgramChainBytes, "a program chain"))
            return false;
        const std::uint32_t programs = data_[At + offsetof(pgc_t, nr_of_programs)];
        const std::uint32_t cells = data_[At + offsetof(pgc_t, nr_of_cells)];
        const std::uint32_t commands = Be16(At + offsetof(pgc_t, command_tbl_offset));
        const std::uint32_t programMap = Be16(At + offsetof(pgc_t, program_map_offset));
        const std::uint32_t cellPlayback = Be16(At + offsetof(pgc_t, cell_playback_offset));
        const std::uint32_t cellPosition = Be16(At + offsetof(pgc_t, cell_position_offset));
        if (commands != 0) {
            const std::uint64_t table = At + commands;
            if (!Fits(table, PGC_COMMAND_TBL_SIZE, "a command table"))
                return false;
            const std::uint64_t count = std::uint64_t{Be16(table)} + Be16(table + 2) + Be16(table + 4);
            if (count > 0 && !Fits(table + PGC_COMMAND_TBL_SIZE, count * CommandBytes, "a command table"))
                return false;
        }
        if (!(programMap == 0 || programs == 0 || Fits(At + programMap, programs, "a program map")) ||
            !(cellPlayback == 0 || cells == 0 ||
              Fits(At + cellPlayback, cells * CellPlaybackBytes, "a cell table")) ||
            !(cellPosition == 0 || cells == 0 ||
              Fits(At + cellPosition, cells * CellPositionBytes, "a cell table")))
            return false;
        // libdvdnav plays a chain's programs through its map of first cells without asking whether the map
        // and the cells are there, or whether a cell the map names is one of the chain's.
        if (programs == 0)
            return true;
        if (programMap == 0 || cells == 0 || cellPlayback == 0 || cellPosition == 0)
            return Fail("a program chain has programs without their cells");
        for (std::uint32_t p = 0; p < programs; ++p) {
            const std::uint32_t cell = data_[At + programMap + p];
            if (cell == 0 || cell > cells)
                return Fail("a program starts at a cell its chain does not have");
        }
        // A cell is on its own (mode and type 0) or one of an angle block (type 1); libdvdnav stops the
        // program on any other kind when it plays it.
        for (std::uint32_t c = 0; c < cells; ++c) {
            const std::uint32_t kind = data_[At + cellPlayback + c * CellPlaybackBytes];
            const std::uint32_t mode = kind >> 6, type = (kind >> 4) & 3;
            if (mode == 0 ? type != 0 : type != 1)
                return Fail("a cell is of a kind a disc does not have");
        }
        return true;
    }

    // The chapters of each title of the set: a table of offsets into the table itself, each to a run of
    // (program chain, program) pairs.
    bool PartsOfTitles(std::uint64_t At) {
        std::uint64_t info = 0;
        if (!Fits(At, VTS_PTT_SRPT_SIZE, "the chapter table") ||
            !BytesAfterHeader(VTS_PTT_SRPT_SIZE, At + 4, info, "the chapter table declares a wrong size") ||
            !Fits(At + VTS_PTT_SRPT_SIZE, info, "the chapter table"))
            return false;
        const std::uint64_t end = info + VTS_PTT_SRPT_SIZE; // the table's length
        std::uint32_t titles = Be16(At);
        if (std::uint64_t{titles} * 4 > info)
            return Fail("the chapter table is too small for its titles");
        // libdvdread stops at the first title whose chapters start beyond the table.
        for (std::uint32_t i = 0; i < titles; ++i)
            if (Be32(At + VTS_PTT_SRPT_SIZE + i * 4) + PartOfTitleBytes > end) {
                titles = i;
                break;
            }
        for (std::uint32_t i = 0; i < titles; ++i) {
            const std::uint64_t start = Be32(At + VTS_PTT_SRPT_SIZE + i * 4);
            if (start < VTS_PTT_SRPT_SIZE)
                return Fail("the chapter table points into its own header");
            const std::uint64_t next = i + 1 < titles ? Be32(At + VTS_PTT_SRPT_SIZE + (i + 1) * 4) : end;
            chapters_.push_back(next > start ? static_cast<std::uint32_t>((next - start) / PartOfTitleBytes)
                                             : 0);
            for (std::uint64_t chapter = start; next >= start && chapter + PartOfTitleBytes <= next;
                 chapter += PartOfTitleBytes) {
                const std::uint32_t chain = Be16(At + chapter);
                const std::uint32_t program = Be16(At + chapter + 2);
                if (chain == 0 || chain >= 1000 || program == 0 || program >= 100)
                    return Fail("the chapter table names a chapter that cannot be");
                chapterStarts_.push_back({chain, program});
            }
        }
        return true;
    }

    // Each chapter starts at a program of one of the set's title chains: libdvdnav plays the program it
    // names without asking.
    bool ChaptersPlayable() {
        for (const auto& [chain, program] : chapterStarts_)
            if (chain > titleChainPrograms_.size() || program > titleChainPrograms_[chain - 1])
                return Fail("a chapter starts at a program the title set does not have");
        return true;
    }

    bool TimeMaps(std::uint64_t At) {
        return OffsetTable(At, VTS_TMAPT_SIZE, "the time maps", [this](std::uint64_t Map) {
            if (!Fits(Map, VTS_TMAP_SIZE, "a time map"))
                return false;
            const std::uint32_t entries = Be16(Map + 2);
            return entries == 0 || Fits(Map + VTS_TMAP_SIZE, std::uint64_t{entries} * 4, "a time map");
        });
    }

    const std::uint8_t* data_;
    std::uint64_t size_;
    std::string reason_;
    std::vector<std::uint32_t> chapters_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> chapterStarts_; // (chain, program), from 1
    std::vector<std::uint32_t> titleChainPrograms_;
};

} // namespace

bool IfoTablesFit(const std::uint8_t* Data, std::size_t Size, IfoKind Kind, std::string* Reason) {
    IfoWalk walk(Data, Size);
    const bool fits = Kind == IfoKind::VideoManager ? walk.VideoManager() : walk.TitleSet();
    if (!fits && Reason != nullptr)
        *Reason = walk.Reason();
    return fits;
}

namespace {

enum class InfoFile { Missing, Read, Unreadable };

// A title of the video manager's title table: the title set it lies in, its number there and its number of
// chapters.
struct TitleEntry {
    std::uint32_t set, titleInSet, chapters;
};

// The titles of a video manager that passed the check, as libdvdread reads them: no more than the table's
// size holds.
std::vector<TitleEntry> TitlesOf(const std::uint8_t* Manager) {
    const std::uint8_t* table = Manager + Be32(Manager + offsetof(vmgi_mat_t, tt_srpt)) * SectorBytes;
    const std::uint64_t room = (std::uint64_t{Be32(table + 4)} + 1 - TT_SRPT_SIZE) / sizeof(title_info_t);
    std::vector<TitleEntry> titles;
    for (std::uint64_t t = 0; t < std::min<std::uint64_t>(Be16(table), room); ++t) {
        const std::uint8_t* title = table + TT_SRPT_SIZE + t * sizeof(title_info_t);
        titles.push_back({title[offsetof(title_info_t, title_set_nr)], title[offsetof(title_info_t, vts_ttn)],
                          Be16(title + offsetof(title_info_t, nr_of_ptts))});
    }
    return titles;
}

// The whole sectors of title set Number's information file (0: the video manager's) into Bytes, read through
// libdvdread's own file access, from the file its parser would open.
InfoFile ReadInfoFile(dvd_reader_t* Dvd, int Number, std::vector<std::uint8_t>& Bytes) {
    dvd_file_t* file = DVDOpenFile(Dvd, Number, DVD_READ_INFO_FILE);
    if (file == nullptr)
        file = DVDOpenFile(Dvd, Number, DVD_READ_INFO_BACKUP_FILE);
    if (file == nullptr)
        return InfoFile::Missing;
    const ssize_t sectors = DVDFileSize(file);
    InfoFile result = InfoFile::Unreadable;
    if (sectors >= 0 && static_cast<std::uint64_t>(sectors) * SectorBytes <= LargestInfoFile) {
        Bytes.assign(static_cast<std::size_t>(sectors) * SectorBytes, 0);
        if (Bytes.empty() || (DVDFileSeek(file, 0) == 0 && DVDReadBytes(file, Bytes.data(), Bytes.size()) ==
                                                               static_cast<ssize_t>(Bytes.size())))
            result = InfoFile::Read;
    }
    DVDCloseFile(file);
    return result;
}

} // namespace

bool DiscInfoFilesFit(dvd_reader_t* Dvd, std::string* Reason) {
    auto damaged = [Reason](const std::string& File, const std::string& What) {
        if (Reason != nullptr)
            *Reason = File + ": " + What;
        return false;
    };
    std::vector<std::uint8_t> bytes;
    switch (ReadInfoFile(Dvd, 0, bytes)) {
    case InfoFile::Missing:
        return true; // no disc: the open says so
    case InfoFile::Unreadable:
        return damaged("VIDEO_TS.IFO", "cannot be read");
    case InfoFile::Read:
        break;
    }
    std::string what;
    if (!IfoTablesFit(bytes.data(), bytes.size(), IfoKind::VideoManager, &what))
        return damaged("VIDEO_TS.IFO", what);
    // The title sets the manager counts, and any of its titles lie in besides.
    const std::vector<TitleEntry> titles = TitlesOf(bytes.data());
    int titleSets = static_cast<int>(Be16(bytes.data() + offsetof(vmgi_mat_t, vmg_nr_of_title_sets)));
    for (const TitleEntry& title : titles)
        titleSets = std::max<int>(titleSets, static_cast<int>(title.set));
    for (int n = 1; n <= std::min(titleSets, LastTitleSet); ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "VTS_%02d_0.IFO", n);
        switch (ReadInfoFile(Dvd, n, bytes)) {
        case InfoFile::Missing:
            continue;
        case InfoFile::Unreadable:
            return damaged(name, "cannot be read");
        case InfoFile::Read:
            break;
        }
        IfoWalk walk(bytes.data(), bytes.size());
        if (!walk.TitleSet())
            return damaged(name, walk.Reason());
        // libdvdnav finds a title's chapters in its title set by the manager's numbers, unchecked.
        const std::vector<std::uint32_t>& chapters = walk.Chapters();
        for (const TitleEntry& title : titles)
            if (title.set == static_cast<std::uint32_t>(n) &&
                (title.titleInSet == 0 || title.titleInSet > chapters.size() ||
                 title.chapters > chapters[title.titleInSet - 1]))
                return damaged("VIDEO_TS.IFO", "a title names chapters its title set does not have");
    }
    return true;
}

} // namespace dshow
