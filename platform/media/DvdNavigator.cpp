#include "platform/media/DvdNavigator.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <filesystem>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

#include "platform/media/DvdIfoCheck.h"

namespace dshow {

namespace {

constexpr std::int64_t TicksPerSecond = 90000;
constexpr std::int64_t TimelineWrap = std::int64_t{1} << 33;
// Two units whose times differ by less than this continue each other.
constexpr std::int64_t ContinuityTolerance = TicksPerSecond / 10;
// A title that ends by itself (its last unit played, something else follows) is shown at its end for this
// long, so that whoever polls the position sees it reach the title's length.
constexpr std::int64_t EndHold = TicksPerSecond;
// The units kept for finding what is on the screen (two or so a second; far more than the pipeline holds).
constexpr std::size_t UnitsKept = 512;

// libdvdread and libdvdnav speak on stderr about every disc ("Couldn't find device name", the region, the
// missing decryption library); what matters comes back in results.
void Quiet(void*, dvd_logger_level_t, const char*, va_list) {}
void QuietNav(void*, dvdnav_logger_level_t, const char*, va_list) {}

std::string LanguageOf(std::uint16_t Code, int Type) {
    if (Type != 1 || Code == 0 || Code == 0xFFFF)
        return {};
    const char text[2] = {static_cast<char>(Code >> 8), static_cast<char>(Code & 0xFF)};
    if (text[0] < 'a' || text[0] > 'z' || text[1] < 'a' || text[1] > 'z')
        return {};
    return std::string(text, 2);
}

DvdVideoFacts VideoOf(const video_attr_t& Attr) {
    DvdVideoFacts video;
    const bool pal = Attr.video_format == 1;
    video.FrameRate = pal ? 25 : 30;
    video.Height = pal ? 576 : 480;
    switch (Attr.picture_size) {
    case 0:
        video.Width = 720;
        break;
    case 1:
        video.Width = 704;
        break;
    case 2:
        video.Width = 352;
        break;
    default:
        video.Width = 352;
        video.Height = pal ? 288 : 240;
        break;
    }
    if (Attr.display_aspect_ratio == 3) {
        video.AspectX = 16;
        video.AspectY = 9;
    }
    return video;
}

// --- Time stamps in program-stream packs: 33 bits of 90 kHz ticks, with marker bits between.

std::int64_t ReadScr(const std::uint8_t* P) {
    return (static_cast<std::int64_t>((P[0] >> 3) & 7) << 30) | (static_cast<std::int64_t>(P[0] & 3) << 28) |
           (static_cast<std::int64_t>(P[1]) << 20) | (static_cast<std::int64_t>((P[2] >> 3) & 0x1F) << 15) |
           (static_cast<std::int64_t>(P[2] & 3) << 13) | (static_cast<std::int64_t>(P[3]) << 5) |
           ((P[4] >> 3) & 0x1F);
}

void WriteScr(std::uint8_t* P, std::int64_t Value) {
    const auto v = static_cast<std::uint64_t>(Value) & (TimelineWrap - 1);
    P[0] = static_cast<std::uint8_t>(0x44 | ((v >> 27) & 0x38) | ((v >> 28) & 3));
    P[1] = static_cast<std::uint8_t>(v >> 20);
    P[2] = static_cast<std::uint8_t>(0x04 | ((v >> 12) & 0xF8) | ((v >> 13) & 3));
    P[3] = static_cast<std::uint8_t>(v >> 5);
    P[4] = static_cast<std::uint8_t>(((v << 3) & 0xF8) | 0x04 | (P[4] & 3));
}

std::int64_t ReadPts(const std::uint8_t* P) {
    return (static_cast<std::int64_t>((P[0] >> 1) & 7) << 30) | (static_cast<std::int64_t>(P[1]) << 22) |
           (static_cast<std::int64_t>(P[2] >> 1) << 15) | (static_cast<std::int64_t>(P[3]) << 7) |
           (P[4] >> 1);
}

void WritePts(std::uint8_t* P, std::int64_t Value) {
    const auto v = static_cast<std::uint64_t>(Value) & (TimelineWrap - 1);
    P[0] = static_cast<std::uint8_t>((P[0] & 0xF0) | ((v >> 29) & 0x0E) | 1);
    P[1] = static_cast<std::uint8_t>(v >> 22);
    P[2] = static_cast<std::uint8_t>(((v >> 14) & 0xFE) | 1);
    P[3] = static_cast<std::uint8_t>(v >> 7);
    P[4] = static_cast<std::uint8_t>(((v << 1) & 0xFE) | 1);
}

std::int64_t Wrap(std::int64_t Value) {
    return ((Value % TimelineWrap) + TimelineWrap) % TimelineWrap;
}

bool IsMpeg2Pack(const std::array<std::uint8_t, 2048>& Pack) {
    return Pack[0] == 0 && Pack[1] == 0 && Pack[2] == 1 && Pack[3] == 0xBA && (Pack[4] & 0xC0) == 0x40;
}

constexpr std::uint8_t PrivateStream1 = 0xBD, PaddingStream = 0xBE;

// The navigation library gives the current subpicture stream as its physical number with 0x80 when it is not
// shown, and 0xFF (-1) when there is none.
struct ActiveSubpicture {
    int physical = -1;
    bool shown = false;
};

ActiveSubpicture ActiveSubpictureOf(dvdnav_t* Nav) {
    const auto raw = static_cast<std::uint8_t>(dvdnav_get_active_spu_stream(Nav));
    if (raw == 0xFF)
        return {};
    return {raw & 0x1F, (raw & 0x80) == 0};
}

// The library's "logical stream" calls give the physical stream of a stream of the title's numbering; the
// title's number of a physical stream is found by asking each. -1 when none has it.
int LogicalAudio(dvdnav_t* Nav, int Physical, int Count) {
    for (int n = 0; n < Count; ++n)
        if (dvdnav_get_audio_logical_stream(Nav, static_cast<std::uint8_t>(n)) == Physical)
            return n;
    return -1;
}

int LogicalSubpicture(dvdnav_t* Nav, int Physical, int Count) {
    for (int n = 0; n < Count; ++n)
        if (dvdnav_get_spu_logical_stream(Nav, static_cast<std::uint8_t>(n)) == Physical)
            return n;
    return -1;
}

} // namespace

// One video object unit read in the current run: where it lies on the timeline and what it shows.
struct DvdNavigator::Unit {
    std::int64_t start = 0, end = 0;
    DvdScreen::Domain domain = DvdScreen::Domain::FirstPlay;
    int title = 0, chapter = 0, titleSet = 0;
    std::int64_t time = 0; // into the title, at the unit's start
    pci_t pci{};
};

std::shared_ptr<DvdNavigator> DvdNavigator::Open(const std::string& Path, std::string* Reason) {
    std::shared_ptr<DvdNavigator> navigator(new DvdNavigator());
    std::string path = Path;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (!navigator->LoadFacts(path, Reason))
        return nullptr;
    static const dvdnav_logger_cb logger{&QuietNav};
    if (dvdnav_open2(&navigator->nav_, nullptr, &logger, path.c_str()) != DVDNAV_STATUS_OK) {
        navigator->nav_ = nullptr;
        if (Reason)
            *Reason = "the disc's navigation data cannot be read";
        return nullptr;
    }
    dvdnav_set_readahead_flag(navigator->nav_, 1);
    dvdnav_set_PGC_positioning_flag(navigator->nav_, 1);
    dvdnav_menu_language_select(navigator->nav_, const_cast<char*>("en"));
    dvdnav_audio_language_select(navigator->nav_, const_cast<char*>("en"));
    dvdnav_spu_language_select(navigator->nav_, const_cast<char*>("en"));
    for (int t = 1; t <= navigator->Titles(); ++t) {
        std::uint64_t* chapterEnds = nullptr;
        std::uint64_t duration = 0;
        // The list is the caller's only when chapters came back: for a title without chapters libdvdnav has
        // freed it already, though it hands it out.
        if (dvdnav_describe_title_chapters(navigator->nav_, t, &chapterEnds, &duration) > 0) {
            navigator->titles_[static_cast<std::size_t>(t - 1)].Length = static_cast<std::int64_t>(duration);
            std::free(chapterEnds);
        }
    }
    return navigator;
}

DvdNavigator::~DvdNavigator() {
    if (nav_ != nullptr)
        dvdnav_close(nav_);
}

// The facts of the disc from its IFO files. A folder without them, or with files that are not a disc's, has
// no disc.
bool DvdNavigator::LoadFacts(const std::string& Path, std::string* Reason) {
    static const dvd_logger_cb logger{&Quiet};
    dvd_reader_t* dvd = DVDOpen2(nullptr, &logger, Path.c_str());
    if (dvd == nullptr) {
        if (Reason)
            *Reason = "no DVD at " + Path;
        return false;
    }
    // A damaged information file is refused before libdvdread parses it: some damage takes the library, and
    // the program with it, down (libdvdnav parses the same files when it opens the disc below).
    if (std::string damage; !DiscInfoFilesFit(dvd, &damage)) {
        DVDClose(dvd);
        if (Reason)
            *Reason = "the DVD at " + Path + " is damaged: " + damage;
        return false;
    }
    ifo_handle_t* vmg = ifoOpen(dvd, 0);
    if (vmg == nullptr || vmg->vmgi_mat == nullptr || vmg->tt_srpt == nullptr) {
        if (vmg)
            ifoClose(vmg);
        DVDClose(dvd);
        if (Reason)
            *Reason = "no DVD video manager at " + Path;
        return false;
    }
    const vmgi_mat_t& manager = *vmg->vmgi_mat;
    managerMenu_.Video = VideoOf(manager.vmgm_video_attr);
    if (manager.nr_of_vmgm_audio_streams > 0)
        managerMenu_.AudioLanguages.push_back(
            LanguageOf(manager.vmgm_audio_attr.lang_code, manager.vmgm_audio_attr.lang_type));
    if (manager.nr_of_vmgm_subp_streams > 0)
        managerMenu_.SubpictureLanguages.push_back(
            LanguageOf(manager.vmgm_subp_attr.lang_code, manager.vmgm_subp_attr.type));
    for (int t = 0; t < vmg->tt_srpt->nr_of_srpts; ++t) {
        const title_info_t& info = vmg->tt_srpt->title[t];
        DvdTitleFacts title;
        title.Chapters = info.nr_of_ptts;
        title.Angles = std::max<int>(info.nr_of_angles, 1);
        title.TitleSet = info.title_set_nr;
        titles_.push_back(title);
    }
    const int sets = manager.vmg_nr_of_title_sets;
    ifoClose(vmg);
    for (int n = 1; n <= sets; ++n) {
        DvdStreamFacts menus, set;
        if (ifo_handle_t* vts = ifoOpen(dvd, n); vts != nullptr && vts->vtsi_mat != nullptr) {
            const vtsi_mat_t& mat = *vts->vtsi_mat;
            menus.Video = VideoOf(mat.vtsm_video_attr);
            if (mat.nr_of_vtsm_audio_streams > 0)
                menus.AudioLanguages.push_back(
                    LanguageOf(mat.vtsm_audio_attr.lang_code, mat.vtsm_audio_attr.lang_type));
            if (mat.nr_of_vtsm_subp_streams > 0)
                menus.SubpictureLanguages.push_back(
                    LanguageOf(mat.vtsm_subp_attr.lang_code, mat.vtsm_subp_attr.type));
            set.Video = VideoOf(mat.vts_video_attr);
            for (int a = 0; a < std::min<int>(mat.nr_of_vts_audio_streams, 8); ++a)
                set.AudioLanguages.push_back(
                    LanguageOf(mat.vts_audio_attr[a].lang_code, mat.vts_audio_attr[a].lang_type));
            for (int s = 0; s < std::min<int>(mat.nr_of_vts_subp_streams, 32); ++s)
                set.SubpictureLanguages.push_back(
                    LanguageOf(mat.vts_subp_attr[s].lang_code, mat.vts_subp_attr[s].type));
            ifoClose(vts);
        } else if (vts != nullptr) {
            ifoClose(vts);
        }
        titleSetMenus_.push_back(std::move(menus));
        titleSets_.push_back(std::move(set));
    }
    DVDClose(dvd);
    if (titles_.empty()) {
        if (Reason)
            *Reason = "the DVD at " + Path + " has no titles";
        return false;
    }
    return true;
}

const DvdTitleFacts* DvdNavigator::Title(int Number) const {
    if (Number < 1 || Number > Titles())
        return nullptr;
    return &titles_[static_cast<std::size_t>(Number - 1)];
}

const DvdStreamFacts& DvdNavigator::StreamsOf(DvdScreen::Domain Domain, int TitleSet) const {
    const auto index = static_cast<std::size_t>(TitleSet - 1);
    switch (Domain) {
    case DvdScreen::Domain::ManagerMenu:
    case DvdScreen::Domain::FirstPlay:
        return managerMenu_;
    case DvdScreen::Domain::TitleSetMenu:
        return TitleSet >= 1 && index < titleSetMenus_.size() ? titleSetMenus_[index] : none_;
    case DvdScreen::Domain::Title:
        return TitleSet >= 1 && index < titleSets_.size() ? titleSets_[index] : none_;
    default:
        return none_;
    }
}

// --- Reading ------------------------------------------------------------------------------------------

DvdScreen::Domain DvdNavigator::ReadDomain() const {
    if (stopped_)
        return DvdScreen::Domain::Stop;
    if (!started_ || dvdnav_is_domain_fp(nav_))
        return DvdScreen::Domain::FirstPlay;
    if (dvdnav_is_domain_vmgm(nav_))
        return DvdScreen::Domain::ManagerMenu;
    if (dvdnav_is_domain_vtsm(nav_))
        return DvdScreen::Domain::TitleSetMenu;
    if (dvdnav_is_domain_vts(nav_))
        return DvdScreen::Domain::Title;
    return DvdScreen::Domain::FirstPlay;
}

void DvdNavigator::Notify() {
    ++commands_;
    changed_.notify_all();
}

void DvdNavigator::Interrupt() {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
    changed_.notify_all();
}

void DvdNavigator::BeginRun() {
    std::lock_guard lock(mutex_);
    interrupted_ = false;
    runStarted_ = false;
    inStill_ = false;
    // A command moves a disc that had stopped; if it did not, the next read stops it again.
    stopped_ = false;
    ended_ = false;
    units_.clear();
    toldForcedOnly_.reset();
    toldHighlight_.reset();
    paletteTold_ = false;
}

void DvdNavigator::SetPlaybackClock(std::function<std::optional<std::int64_t>()> Clock) {
    std::lock_guard lock(mutex_);
    clock_ = std::move(Clock);
}

void DvdNavigator::SetJumpRunner(JumpRunner Runner) {
    std::lock_guard lock(mutex_);
    runner_ = std::move(Runner);
}

void DvdNavigator::SetEnded(bool Ended) {
    std::lock_guard lock(mutex_);
    ended_ = Ended;
}

double DvdNavigator::Rate() const {
    std::lock_guard lock(mutex_);
    return rate_;
}

// The streams passed on follow the disc's current ones; the overlay is told when only forced pictures (menu
// buttons, forced captions) are to show.
void DvdNavigator::RefreshStreams(DvdStep& Step) {
    const DvdScreen::Domain domain = ReadDomain();
    const int audio = dvdnav_get_active_audio_stream(nav_);
    audioStream_ = audio >= 0 ? audio & 7 : 0;
    const ActiveSubpicture subpicture = ActiveSubpictureOf(nav_);
    if (domain != DvdScreen::Domain::Title) {
        // Menus keep their buttons on the first subpicture stream, always shown.
        subpictureStream_ = std::max(subpicture.physical, 0);
        subpictureShown_ = true;
    } else {
        subpictureStream_ = subpicture.physical;
        subpictureShown_ = subpicture.shown;
    }
    if (toldForcedOnly_ != !subpictureShown_) {
        toldForcedOnly_ = !subpictureShown_;
        Step.ForcedOnly = !subpictureShown_;
    }
}

// The button highlighted as the overlay must draw it: its rectangle and colours come from the navigation pack
// read last (the library's highlight event carries only the number, and may come before the pack).
void DvdNavigator::RefreshHighlight(DvdStep& Step) {
    DvdStep::Highlight shown;
    std::int32_t button = 0;
    const pci_t* pci = dvdnav_get_current_nav_pci(nav_);
    dvdnav_highlight_area_t area{};
    if (highlightShown_ && pci != nullptr && (pci->hli.hl_gi.hli_ss & 3) != 0 &&
        dvdnav_get_current_highlight(nav_, &button) == DVDNAV_STATUS_OK && button >= 1 &&
        button <= (pci->hli.hl_gi.btn_ns & 0x3F) &&
        dvdnav_get_highlight_area(const_cast<pci_t*>(pci), button, 0, &area) == DVDNAV_STATUS_OK) {
        shown.Button = button;
        shown.Palette = area.palette;
        shown.Left = area.sx;
        shown.Top = area.sy;
        shown.Right = area.ex;
        shown.Bottom = area.ey;
    }
    if (toldHighlight_ != shown) {
        toldHighlight_ = shown;
        Step.NewHighlight = shown;
    }
}

// At the navigation pack that starts a unit: the unit's place on the timeline, and what it shows.
void DvdNavigator::NoteUnit(const pci_t& Pci, std::int64_t NavScr) {
    const std::int64_t start = Pci.pci_gi.vobu_s_ptm;
    std::int64_t end = Pci.pci_gi.vobu_e_ptm;
    if (end < start)
        end = start;
    if (!runStarted_) {
        offset_ = RunStart - NavScr;
        runStarted_ = true;
    } else if (std::llabs(Wrap(start + offset_) - expectedNext_) > ContinuityTolerance) {
        // A jump on the disc that the pipeline did not see (a title or menu that followed by itself, or
        // the end of a still): the timeline goes on from where the last unit ended.
        offset_ = expectedNext_ - start;
    }
    expectedNext_ = Wrap(end + offset_);

    auto unit = std::make_unique<Unit>();
    unit->start = Wrap(start + offset_);
    unit->end = expectedNext_;
    unit->domain = ReadDomain();
    unit->titleSet = titleSet_;
    std::int32_t title = 0, part = 0;
    if (dvdnav_current_title_info(nav_, &title, &part) == DVDNAV_STATUS_OK) {
        unit->title = unit->domain == DvdScreen::Domain::Title ? title : 0;
        unit->chapter = part;
    }
    if (const DvdTitleFacts* facts = Title(unit->title))
        unit->titleSet = facts->TitleSet;
    if (unit->domain == DvdScreen::Domain::Title)
        unit->time = std::max<std::int64_t>(dvdnav_get_current_time(nav_), 0);
    unit->pci = Pci;
    if (unit->domain == DvdScreen::Domain::Title)
        ApplyPendingStreams(unit->titleSet);
    units_.push_back(std::move(unit));
    while (units_.size() > UnitsKept)
        units_.pop_front();
}

// Moves the pack onto the timeline and passes on only the streams that play: the current audio stream and
// subpicture stream leave under the first number of their kind (so the demuxer's outputs stay the same
// whatever is chosen), the others become padding. False for a scrambled pack.
bool DvdNavigator::Rewrite(std::array<std::uint8_t, 2048>& Pack, std::string& Reason) {
    if (!IsMpeg2Pack(Pack))
        return true; // not a pack this layer knows: passed on as it is
    std::uint8_t* data = Pack.data();
    WriteScr(data + 4, ReadScr(data + 4) + offset_);
    std::size_t at = 14 + (data[13] & 7);
    while (at + 6 <= Pack.size() && data[at] == 0 && data[at + 1] == 0 && data[at + 2] == 1) {
        const std::uint8_t id = data[at + 3];
        const std::size_t length = (static_cast<std::size_t>(data[at + 4]) << 8) | data[at + 5];
        const std::size_t next = at + 6 + length;
        if (next > Pack.size())
            break;
        const bool elementary = id == PrivateStream1 || (id >= 0xC0 && id <= 0xEF);
        if (elementary && at + 9 <= next && (data[at + 6] & 0xC0) == 0x80) {
            if ((data[at + 6] & 0x30) != 0) {
                Reason = "the disc is encrypted (decrypting DVDs needs libdvdcss)";
                return false;
            }
            const std::uint8_t flags = data[at + 7] >> 6;
            const std::size_t header = data[at + 8];
            if ((flags & 2) != 0 && at + 14 <= next)
                WritePts(data + at + 9, ReadPts(data + at + 9) + offset_);
            if (flags == 3 && at + 19 <= next)
                WritePts(data + at + 14, ReadPts(data + at + 14) + offset_);
            const std::size_t payload = at + 9 + header;
            if (id == PrivateStream1 && payload < next) {
                std::uint8_t& sub = data[payload];
                if (sub >= 0x20 && sub <= 0x3F) {
                    if (sub - 0x20 == subpictureStream_)
                        sub = 0x20;
                    else
                        data[at + 3] = PaddingStream;
                } else if (sub >= 0x80 && sub <= 0xAF) {
                    const std::uint8_t base = sub >= 0xA0 ? 0xA0 : sub >= 0x88 ? 0x88 : 0x80;
                    if (sub - base == audioStream_)
                        sub = base;
                    else
                        data[at + 3] = PaddingStream;
                }
            } else if (id >= 0xC0 && id <= 0xDF) {
                if ((id & 7) == audioStream_)
                    data[at + 3] = 0xC0;
                else
                    data[at + 3] = PaddingStream;
            }
        }
        at = next;
    }
    return true;
}

DvdStep DvdNavigator::Read() {
    std::unique_lock lock(mutex_);
    DvdStep step;
    unsigned seen = commands_;
    for (;;) {
        if (interrupted_) {
            step.kind = DvdStep::Kind::Interrupted;
            return step;
        }
        std::uint8_t* buffer = step.Data.data();
        int event = DVDNAV_NOP, length = 0;
        if (dvdnav_get_next_block(nav_, buffer, &event, &length) != DVDNAV_STATUS_OK) {
            step.kind = DvdStep::Kind::Failed;
            step.Reason = std::string("the disc cannot be read: ") + dvdnav_err_to_string(nav_);
            stopped_ = true;
            return step;
        }
        if (!started_) {
            started_ = true;
            DvdStep changes;
            RefreshStreams(changes);
            if (changes.ForcedOnly)
                step.ForcedOnly = changes.ForcedOnly;
        }
        if (event != DVDNAV_STILL_FRAME && inStill_ &&
            (event == DVDNAV_BLOCK_OK || event == DVDNAV_NAV_PACKET)) {
            inStill_ = false;
            step.StillEnded = true;
        }
        switch (event) {
        case DVDNAV_NAV_PACKET:
            if (const pci_t* pci = dvdnav_get_current_nav_pci(nav_); pci != nullptr && IsMpeg2Pack(step.Data))
                NoteUnit(*pci, ReadScr(buffer + 4));
            // The overlay knows the palette and the highlight of the disc as it now stands, also after a
            // flush.
            if (palette_ && !paletteTold_) {
                step.Palette = palette_;
                paletteTold_ = true;
            }
            if (!toldForcedOnly_) {
                toldForcedOnly_ = !subpictureShown_;
                step.ForcedOnly = !subpictureShown_;
            }
            RefreshHighlight(step);
            [[fallthrough]];
        case DVDNAV_BLOCK_OK:
            if (!runStarted_)
                continue; // nothing before the first unit of a run
            if (!Rewrite(step.Data, step.Reason)) {
                step.kind = DvdStep::Kind::Failed;
                stopped_ = true;
                return step;
            }
            step.kind = DvdStep::Kind::Block;
            return step;
        case DVDNAV_STILL_FRAME: {
            const int seconds = reinterpret_cast<dvdnav_still_event_t*>(buffer)->length;
            const auto now = std::chrono::steady_clock::now();
            if (!inStill_) {
                inStill_ = true;
                stillSince_ = now;
                step.kind = DvdStep::Kind::StillBegins;
                return step;
            }
            if (seconds != 0xFF && now >= stillSince_ + std::chrono::seconds(seconds)) {
                // The picture stood for its time: the timeline moves on by as much, so that what follows
                // is not late.
                const auto stood = std::chrono::duration_cast<std::chrono::microseconds>(now - stillSince_);
                expectedNext_ =
                    Wrap(expectedNext_ + static_cast<std::int64_t>(static_cast<double>(stood.count()) *
                                                                   rate_ * TicksPerSecond / 1e6));
                dvdnav_still_skip(nav_);
                continue;
            }
            const auto woken = [&] { return interrupted_ || commands_ != seen; };
            if (seconds == 0xFF)
                changed_.wait(lock, woken);
            else
                changed_.wait_until(lock, stillSince_ + std::chrono::seconds(seconds), woken);
            seen = commands_;
            continue;
        }
        case DVDNAV_WAIT:
            dvdnav_wait_skip(nav_);
            continue;
        case DVDNAV_SPU_CLUT_CHANGE: {
            std::array<std::uint32_t, 16> palette{};
            std::memcpy(palette.data(), buffer, sizeof palette);
            palette_ = palette;
            paletteTold_ = true;
            step.Palette = palette;
            step.kind = DvdStep::Kind::Changes;
            return step;
        }
        case DVDNAV_HIGHLIGHT:
            highlightShown_ = reinterpret_cast<dvdnav_highlight_event_t*>(buffer)->display != 0;
            RefreshHighlight(step);
            if (!step.NewHighlight)
                continue;
            step.kind = DvdStep::Kind::Changes;
            return step;
        case DVDNAV_SPU_STREAM_CHANGE:
        case DVDNAV_AUDIO_STREAM_CHANGE:
            RefreshStreams(step);
            if (step.ForcedOnly) {
                step.kind = DvdStep::Kind::Changes;
                return step;
            }
            continue;
        case DVDNAV_VTS_CHANGE: {
            const auto* change = reinterpret_cast<dvdnav_vts_change_event_t*>(buffer);
            titleSet_ = change->new_vtsN;
            continue;
        }
        case DVDNAV_STOP:
            stopped_ = true;
            step.kind = DvdStep::Kind::End;
            return step;
        default: // cell changes, hops and nothing: the blocks that follow say it all
            continue;
        }
    }
}

// --- What is on the screen ----------------------------------------------------------------------------

std::optional<std::int64_t> DvdNavigator::PlaybackPosition() const {
    std::function<std::optional<std::int64_t>()> clock;
    {
        std::lock_guard lock(mutex_);
        clock = clock_;
    }
    return clock ? clock() : std::nullopt;
}

// The unit whose picture is on the screen: the last one the playback position has reached (the first of
// the run while it reaches none or nothing tells the position, the last one once the disc played out).
DvdNavigator::OnScreen DvdNavigator::Find(std::optional<std::int64_t> Position) const {
    OnScreen shown;
    if (units_.empty())
        return shown;
    if (ended_) {
        shown.unit = units_.back().get();
        shown.position = shown.unit->end;
        shown.endHeld = shown.unit->domain == DvdScreen::Domain::Title;
        return shown;
    }
    // Until the pipeline tells where it plays (a run that has not prerolled yet), the run's start shows.
    if (!Position) {
        shown.unit = units_.front().get();
        shown.position = shown.unit->start;
        return shown;
    }
    std::size_t at = 0;
    for (std::size_t i = units_.size(); i-- > 0;)
        if (units_[i]->start <= *Position) {
            at = i;
            break;
        }
    shown.unit = units_[at].get();
    shown.position = std::clamp(*Position, shown.unit->start, shown.unit->end);
    if (at > 0) {
        const Unit& before = *units_[at - 1];
        const bool left = shown.unit->domain != before.domain || shown.unit->title != before.title;
        if (before.domain == DvdScreen::Domain::Title && left && *Position - shown.unit->start < EndHold) {
            shown.unit = &before;
            shown.position = before.end;
            shown.endHeld = true;
        }
    }
    return shown;
}

DvdScreen DvdNavigator::ReadScreen() const {
    DvdScreen screen;
    screen.domain = ReadDomain();
    screen.TitleSet = titleSet_;
    std::int32_t title = 0, part = 0;
    if (screen.domain != DvdScreen::Domain::FirstPlay && screen.domain != DvdScreen::Domain::Stop &&
        dvdnav_current_title_info(nav_, &title, &part) == DVDNAV_STATUS_OK) {
        screen.Title = screen.domain == DvdScreen::Domain::Title ? title : 0;
        screen.Chapter = part;
        if (screen.domain == DvdScreen::Domain::Title)
            screen.Time = std::max<std::int64_t>(dvdnav_get_current_time(nav_), 0);
    }
    // A title's set is known from the title at once, before the stream says the set changed.
    if (const DvdTitleFacts* facts = Title(screen.Title))
        screen.TitleSet = facts->TitleSet;
    return screen;
}

DvdScreen DvdNavigator::ScreenOf(const OnScreen& Shown) const {
    if (Shown.unit == nullptr)
        return ReadScreen();
    const Unit& unit = *Shown.unit;
    DvdScreen screen;
    screen.domain = unit.domain;
    screen.Title = unit.title;
    screen.Chapter = unit.chapter;
    screen.TitleSet = unit.titleSet;
    if (const DvdTitleFacts* title = Title(unit.title); title != nullptr && Shown.endHeld) {
        screen.Time = title->Length;
        screen.Chapter = std::max(title->Chapters, unit.chapter);
    } else if (unit.domain == DvdScreen::Domain::Title) {
        screen.Time = unit.time + std::max<std::int64_t>(Shown.position - unit.start, 0);
    }
    if ((unit.pci.hli.hl_gi.hli_ss & 3) != 0)
        screen.Buttons = unit.pci.hli.hl_gi.btn_ns & 0x3F;
    std::int32_t button = 0;
    if (screen.Buttons > 0 && dvdnav_get_current_highlight(nav_, &button) == DVDNAV_STATUS_OK)
        screen.Highlighted = button;
    return screen;
}

DvdScreen DvdNavigator::Screen() const {
    const std::optional<std::int64_t> position = PlaybackPosition();
    std::lock_guard lock(mutex_);
    if (stopped_ && units_.empty()) {
        DvdScreen screen;
        screen.domain = DvdScreen::Domain::Stop;
        return screen;
    }
    DvdScreen screen = ScreenOf(Find(position));
    // The disc ended and all of it was played: it has stopped, on whatever it showed last.
    if (ended_)
        screen.domain = DvdScreen::Domain::Stop;
    return screen;
}

bool DvdNavigator::Audio(int& Count, int& Current) const {
    const DvdScreen screen = Screen();
    std::lock_guard lock(mutex_);
    if (screen.domain == DvdScreen::Domain::Stop)
        return false;
    Count = static_cast<int>(StreamsOf(screen.domain, screen.TitleSet).AudioLanguages.size());
    Current = 0;
    if (screen.domain == DvdScreen::Domain::Title)
        Current = std::max(LogicalAudio(nav_, dvdnav_get_active_audio_stream(nav_), Count), 0);
    return true;
}

bool DvdNavigator::Subpicture(int& Count, int& Current, bool& Shown) const {
    const DvdScreen screen = Screen();
    std::lock_guard lock(mutex_);
    if (screen.domain == DvdScreen::Domain::Stop)
        return false;
    Count = static_cast<int>(StreamsOf(screen.domain, screen.TitleSet).SubpictureLanguages.size());
    Current = 0;
    Shown = true;
    if (screen.domain != DvdScreen::Domain::Title)
        return true;
    const ActiveSubpicture active = ActiveSubpictureOf(nav_);
    Current = std::max(LogicalSubpicture(nav_, active.physical, Count), 0);
    Shown = active.physical >= 0 && active.shown;
    return true;
}

bool DvdNavigator::Angle(int& Count, int& Current) const {
    std::lock_guard lock(mutex_);
    std::int32_t current = 0, count = 0;
    if (dvdnav_get_angle_info(nav_, &current, &count) != DVDNAV_STATUS_OK || count < 1)
        return false;
    Count = count;
    Current = std::max(current, 1);
    return true;
}

int DvdNavigator::ButtonAt(int X, int Y) const {
    const std::optional<std::int64_t> position = PlaybackPosition();
    std::lock_guard lock(mutex_);
    const OnScreen shown = Find(position);
    if (shown.unit == nullptr || (shown.unit->pci.hli.hl_gi.hli_ss & 3) == 0)
        return 0;
    const hli_t& hli = shown.unit->pci.hli;
    const int buttons = hli.hl_gi.btn_ns & 0x3F;
    for (int i = 0; i < std::min(buttons, 36); ++i) {
        const btni_t& b = hli.btnit[i];
        if (X >= static_cast<int>(b.x_start) && X <= static_cast<int>(b.x_end) &&
            Y >= static_cast<int>(b.y_start) && Y <= static_cast<int>(b.y_end))
            return i + 1;
    }
    return 0;
}

// --- Commands -----------------------------------------------------------------------------------------

// A command that moves the disc elsewhere. When it fails the disc was not moved, but the pipeline was
// flushed all the same: the disc goes back to what was on the screen (the time in a title, the start of a
// menu), so that nothing read ahead is skipped.
bool DvdNavigator::Jump(const std::function<bool()>& Command) {
    const DvdScreen before = Screen();
    const std::function<bool()> command = [&] {
        const bool done = Command();
        if (!done) {
            std::lock_guard lock(mutex_);
            if (before.domain == DvdScreen::Domain::Title)
                dvdnav_time_search(nav_, static_cast<std::uint64_t>(std::max<std::int64_t>(before.Time, 0)));
            else if (before.domain == DvdScreen::Domain::ManagerMenu ||
                     before.domain == DvdScreen::Domain::TitleSetMenu)
                dvdnav_top_pg_search(nav_); // a search cannot leave a still picture
        }
        return done;
    };
    JumpRunner runner;
    {
        std::lock_guard lock(mutex_);
        runner = runner_;
    }
    if (runner)
        return runner(command);
    const bool done = command();
    BeginRun();
    return done;
}

bool DvdNavigator::ShowMenu(int MenuId) {
    if (MenuId < DVD_MENU_Title || MenuId > DVD_MENU_Part)
        return false;
    // A title is left where it shows, not where the disc has been read to, so that a menu's resume comes
    // back to the picture the user left.
    const DvdScreen shown = Screen();
    return Jump([&] {
        std::lock_guard lock(mutex_);
        Notify();
        if (shown.domain == DvdScreen::Domain::Title)
            dvdnav_time_search(nav_, static_cast<std::uint64_t>(std::max<std::int64_t>(shown.Time, 0)));
        return dvdnav_menu_call(nav_, static_cast<DVDMenuID_t>(MenuId)) == DVDNAV_STATUS_OK;
    });
}

// After a title or a chapter is played the library goes on reporting the still picture the disc stood on (a
// menu's). Starting the chapter it went to once more ends that still, and only that one: the library's own
// "skip the still" would also skip the next still the disc comes to (a menu called soon after: the title-set
// menu would then end by itself and the disc with it, the manager menu would go on to its title).
bool DvdNavigator::LeaveStill() {
    dvdnav_top_pg_search(nav_);
    return true;
}

bool DvdNavigator::PlayTitle(int Number) {
    if (Title(Number) == nullptr)
        return false;
    return Jump([&] {
        std::lock_guard lock(mutex_);
        Notify();
        return dvdnav_title_play(nav_, Number) == DVDNAV_STATUS_OK && LeaveStill();
    });
}

bool DvdNavigator::PlayChapter(int Number, int Chapter) {
    const DvdTitleFacts* title = Title(Number);
    if (title == nullptr || Chapter < 1 || Chapter > title->Chapters)
        return false;
    return Jump([&] {
        std::lock_guard lock(mutex_);
        Notify();
        return dvdnav_part_play(nav_, Number, Chapter) == DVDNAV_STATUS_OK && LeaveStill();
    });
}

// The chapter after (before) the one on the screen, which the navigator may have read past already.
bool DvdNavigator::PlayNextChapter() {
    const DvdScreen screen = Screen();
    if (screen.domain != DvdScreen::Domain::Title)
        return false;
    return PlayChapter(screen.Title, screen.Chapter + 1);
}

bool DvdNavigator::PlayPreviousChapter() {
    const DvdScreen screen = Screen();
    if (screen.domain != DvdScreen::Domain::Title)
        return false;
    return PlayChapter(screen.Title, screen.Chapter - 1);
}

bool DvdNavigator::PlayAtTime(std::int64_t Time) {
    const DvdScreen screen = Screen();
    const DvdTitleFacts* title = Title(screen.Title);
    if (screen.domain != DvdScreen::Domain::Title || title == nullptr || Time < 0 ||
        (title->Length > 0 && Time >= title->Length))
        return false;
    return Jump([&] {
        std::lock_guard lock(mutex_);
        Notify();
        return dvdnav_time_search(nav_, static_cast<std::uint64_t>(Time)) == DVDNAV_STATUS_OK;
    });
}

// A rate is the pipeline's: the new run's segment carries it, and the disc goes on from the picture shown.
bool DvdNavigator::SetRate(double Rate) {
    if (!(Rate >= SlowestRate && Rate <= FastestRate))
        return false;
    const DvdScreen screen = Screen();
    if (screen.domain != DvdScreen::Domain::Title)
        return false;
    {
        std::lock_guard lock(mutex_);
        if (Rate == rate_)
            return true;
    }
    return Jump([&] {
        std::lock_guard lock(mutex_);
        Notify();
        rate_ = Rate;
        dvdnav_time_search(nav_, static_cast<std::uint64_t>(std::max<std::int64_t>(screen.Time, 0)));
        return true;
    });
}

bool DvdNavigator::SelectButton(int Button) {
    const std::optional<std::int64_t> position = PlaybackPosition();
    std::lock_guard lock(mutex_);
    const OnScreen shown = Find(position);
    if (shown.unit == nullptr || (shown.unit->pci.hli.hl_gi.hli_ss & 3) == 0 || Button < 1 ||
        Button > (shown.unit->pci.hli.hl_gi.btn_ns & 0x3F))
        return false;
    pci_t pci = shown.unit->pci;
    const bool done = dvdnav_button_select(nav_, &pci, Button) == DVDNAV_STATUS_OK;
    Notify();
    return done;
}

bool DvdNavigator::ActivateButton() {
    const std::optional<std::int64_t> position = PlaybackPosition();
    pci_t pci{};
    {
        std::lock_guard lock(mutex_);
        const OnScreen shown = Find(position);
        if (shown.unit == nullptr || (shown.unit->pci.hli.hl_gi.hli_ss & 3) == 0)
            return false;
        pci = shown.unit->pci;
    }
    return Jump([&] {
        std::lock_guard lock(mutex_);
        Notify();
        return dvdnav_button_activate(nav_, &pci) == DVDNAV_STATUS_OK;
    });
}

// A command of the disc's virtual machine run as if a button held it: SetSTN is how a stream is chosen (the
// navigation library has no call for it). The button highlighted stays so.
bool DvdNavigator::RunVmCommand(const std::array<std::uint8_t, 8>& Bytes) {
    vm_cmd_t command;
    std::memcpy(command.bytes, Bytes.data(), Bytes.size());
    std::int32_t button = 0;
    if (dvdnav_get_current_highlight(nav_, &button) != DVDNAV_STATUS_OK || button < 1)
        button = 1;
    const bool done = dvdnav_button_activate_cmd(nav_, button, &command) == DVDNAV_STATUS_OK;
    Notify();
    return done;
}

void DvdNavigator::ApplyPendingStreams(int TitleSet) {
    const DvdStreamFacts& streams = StreamsOf(DvdScreen::Domain::Title, TitleSet);
    const int audioCount = static_cast<int>(streams.AudioLanguages.size());
    const int subpictureCount = static_cast<int>(streams.SubpictureLanguages.size());
    if (pendingAudio_ && *pendingAudio_ < audioCount)
        RunVmCommand({0x51, 0, 0, static_cast<std::uint8_t>(0x80 | *pendingAudio_), 0, 0, 0, 0});
    if ((pendingSubpicture_ || pendingShown_) && subpictureCount > 0) {
        const ActiveSubpicture active = ActiveSubpictureOf(nav_);
        int stream = pendingSubpicture_.value_or(
            std::max(LogicalSubpicture(nav_, active.physical, subpictureCount), 0));
        if (stream >= subpictureCount)
            stream = 0;
        const bool shown = pendingShown_.value_or(active.shown);
        RunVmCommand({0x51, 0, 0, 0, static_cast<std::uint8_t>(0x80 | (shown ? 0x40 : 0) | stream), 0, 0, 0});
    }
    pendingAudio_.reset();
    pendingSubpicture_.reset();
    pendingShown_.reset();
}

// Streams are chosen in titles: running a command also ends a still picture, which in a menu would leave the
// menu. Chosen elsewhere they wait for the next title.
bool DvdNavigator::SelectAudio(int Stream) {
    const DvdScreen screen = Screen();
    std::lock_guard lock(mutex_);
    if (Stream < 0 || Stream > 7)
        return false;
    if (screen.domain != DvdScreen::Domain::Title) {
        pendingAudio_ = Stream;
        return true;
    }
    if (Stream >= static_cast<int>(StreamsOf(screen.domain, screen.TitleSet).AudioLanguages.size()))
        return false;
    return RunVmCommand({0x51, 0, 0, static_cast<std::uint8_t>(0x80 | Stream), 0, 0, 0, 0});
}

bool DvdNavigator::SelectSubpicture(int Stream) {
    const DvdScreen screen = Screen();
    std::lock_guard lock(mutex_);
    if (Stream < 0 || Stream > 31)
        return false;
    if (screen.domain != DvdScreen::Domain::Title) {
        pendingSubpicture_ = Stream;
        return true;
    }
    if (Stream >= static_cast<int>(StreamsOf(screen.domain, screen.TitleSet).SubpictureLanguages.size()))
        return false;
    const bool shown = ActiveSubpictureOf(nav_).shown;
    return RunVmCommand(
        {0x51, 0, 0, 0, static_cast<std::uint8_t>(0x80 | (shown ? 0x40 : 0) | Stream), 0, 0, 0});
}

bool DvdNavigator::ShowSubpicture(bool On) {
    const DvdScreen screen = Screen();
    std::lock_guard lock(mutex_);
    if (screen.domain != DvdScreen::Domain::Title) {
        pendingShown_ = On;
        return true;
    }
    const int count = static_cast<int>(StreamsOf(screen.domain, screen.TitleSet).SubpictureLanguages.size());
    if (count == 0)
        return false;
    const int logical = std::max(LogicalSubpicture(nav_, ActiveSubpictureOf(nav_).physical, count), 0);
    return RunVmCommand(
        {0x51, 0, 0, 0, static_cast<std::uint8_t>(0x80 | (On ? 0x40 : 0) | logical), 0, 0, 0});
}

bool DvdNavigator::SelectAngle(int Angle) {
    std::lock_guard lock(mutex_);
    const bool done = dvdnav_angle_change(nav_, Angle) == DVDNAV_STATUS_OK;
    Notify();
    return done;
}

} // namespace dshow
