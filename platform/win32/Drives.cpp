#include "platform/win32/Drives.h"

#include <algorithm>
#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/win32/FakeLog.h"

namespace win32 {

namespace {

std::string ReadLine(const std::filesystem::path& File) {
    std::ifstream in(File);
    std::string line;
    std::getline(in, line);
    return line;
}

// The volume identifier of an ISO 9660 primary volume descriptor (sector 16), blanks at the end removed;
// "" for a disc without one (UDF only).
std::string IsoVolumeLabel(int Fd) {
    std::array<char, 2048> sector{};
    if (::pread(Fd, sector.data(), sector.size(), 16 * 2048) != static_cast<ssize_t>(sector.size()))
        return {};
    if (sector[0] != 1 || std::string_view(sector.data() + 1, 5) != "CD001")
        return {};
    std::string label(sector.data() + 40, 32);
    while (!label.empty() && (label.back() == ' ' || label.back() == '\0'))
        label.pop_back();
    return label;
}

DriveService* chosenService = nullptr;

DriveService& DefaultDriveService() {
    static DriveService* const service = []() -> DriveService* {
        if (FakeRequested("QUOREL_DRIVES"))
            return new FakeDriveService();
        return new LinuxDriveService();
    }();
    return *service;
}

} // namespace

// Block devices of SCSI type 5 (CD-ROM), which is what the kernel makes of every optical drive.
std::vector<std::string> LinuxDriveService::OpticalDrives() {
    std::vector<std::string> drives;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/sys/block", ec)) {
        const std::string name = entry.path().filename().string();
        if (ReadLine(entry.path() / "device" / "type") == "5" || name.rfind("sr", 0) == 0)
            drives.push_back("/dev/" + name);
    }
    std::sort(drives.begin(), drives.end());
    return drives;
}

bool LinuxDriveService::ReadVolume(const std::string& Root, std::string& Label) {
    const int fd = ::open(Root.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ready = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT) == CDS_DISC_OK;
    if (ready)
        Label = IsoVolumeLabel(fd);
    ::close(fd);
    return ready;
}

std::string LinuxDriveService::MountFolder(const std::string& Root) {
    std::ifstream in("/proc/self/mounts");
    const std::string mounts((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return MountFolderIn(mounts, Root);
}

std::string MountFolderIn(const std::string& Mounts, const std::string& Root) {
    // The table writes a blank, a tab, a new line and a backslash in a name as \040, \011, \012, \134.
    const auto unescape = [](const std::string& Field) {
        const auto octal = [](char C) { return C >= '0' && C <= '7'; };
        std::string text;
        for (std::size_t i = 0; i < Field.size(); ++i) {
            if (Field[i] == '\\' && i + 3 < Field.size() && octal(Field[i + 1]) && octal(Field[i + 2]) &&
                octal(Field[i + 3])) {
                text += static_cast<char>((Field[i + 1] - '0') * 64 + (Field[i + 2] - '0') * 8 +
                                          (Field[i + 3] - '0'));
                i += 3;
            } else {
                text += Field[i];
            }
        }
        return text;
    };
    namespace fs = std::filesystem;
    std::error_code rootError;
    const fs::path device = fs::weakly_canonical(Root, rootError);
    std::istringstream lines(Mounts);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string source, folder;
        if (!(fields >> source >> folder))
            continue;
        source = unescape(source);
        if (source == Root)
            return unescape(folder);
        // The table may name the drive by another node of it (/dev/cdrom, a link to /dev/sr0).
        std::error_code error;
        if (!rootError && source.front() == '/' && fs::weakly_canonical(source, error) == device && !error)
            return unescape(folder);
    }
    return {};
}

std::vector<std::string> FakeDriveService::OpticalDrives() {
    std::vector<std::string> roots;
    for (const Drive& drive : Drives)
        roots.push_back(drive.Root);
    return roots;
}

bool FakeDriveService::ReadVolume(const std::string& Root, std::string& Label) {
    for (const Drive& drive : Drives)
        if (drive.Root == Root && drive.HasDisc) {
            Label = drive.Label;
            return true;
        }
    return false;
}

std::string FakeDriveService::DiscSource(const std::string& Root) {
    for (const Drive& drive : Drives)
        if (drive.Root == Root)
            return drive.DiscFolder;
    return Root;
}

std::string FakeDriveService::MountFolder(const std::string& Root) {
    for (const Drive& drive : Drives)
        if (drive.Root == Root)
            return drive.MountFolder;
    return {};
}

DriveService& GetDriveService() {
    return chosenService != nullptr ? *chosenService : DefaultDriveService();
}

void SetDriveService(DriveService* Service) {
    chosenService = Service;
}

UINT GetDriveTypeA(const std::string& Root) {
    const std::vector<std::string> drives = GetDriveService().OpticalDrives();
    return std::find(drives.begin(), drives.end(), Root) != drives.end() ? DRIVE_CDROM : DRIVE_NO_ROOT_DIR;
}

BOOL GetVolumeInformationA(const std::string& Root, std::string* Label) {
    if (GetDriveTypeA(Root) != DRIVE_CDROM)
        return FALSE;
    std::string label;
    if (!GetDriveService().ReadVolume(Root, label))
        return FALSE;
    if (Label != nullptr)
        *Label = label;
    return TRUE;
}

std::string DriveRootOf(const std::string& Text) {
    const auto bare = [](std::string Folder) {
        while (Folder.size() > 1 && Folder.back() == '/')
            Folder.pop_back();
        return Folder;
    };
    const std::string first = Text.substr(0, Text.find(' '));
    if (Text.empty() || first.empty())
        return {};
    DriveService& service = GetDriveService();
    for (const std::string& root : service.OpticalDrives()) {
        if (Text == root || first == root)
            return root;
        const std::string folder = service.MountFolder(root);
        if (!folder.empty() && bare(Text) == bare(folder))
            return root;
    }
    return {};
}

} // namespace win32
