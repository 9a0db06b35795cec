#pragma once
// Optical drives. A drive is named by its device node (/dev/sr0), which stands where a drive letter's root
// ("D:") stood, and, while its disc is mounted, by the folder it is mounted on; the DVD in it is read through
// the node. The player asks through GetDriveTypeA and
// GetVolumeInformationA; both go to one drive service: the machine's drives (the block devices the kernel
// lists as optical, the drive-status ioctl, the ISO 9660 volume name), or a fake that tests fill, so that no
// test looks at a real drive.

#include <string>
#include <vector>

#include "platform/win32/Types.h"

namespace win32 {

class DriveService {
public:
    virtual ~DriveService() = default;
    // The roots (device nodes) of the optical drives, in a fixed order.
    virtual std::vector<std::string> OpticalDrives() = 0;
    // True when the drive at Root holds a disc whose volume can be read; its label then.
    virtual bool ReadVolume(const std::string& Root, std::string& Label) = 0;
    // What the DVD reader opens for the disc in the drive at Root.
    virtual std::string DiscSource(const std::string& Root) { return Root; }
    // The folder the disc in the drive at Root is mounted on; "" when it is not mounted.
    virtual std::string MountFolder(const std::string& Root) = 0;
};

class LinuxDriveService : public DriveService {
public:
    std::vector<std::string> OpticalDrives() override;
    bool ReadVolume(const std::string& Root, std::string& Label) override;
    std::string MountFolder(const std::string& Root) override;
};

// The folder that the device Root is mounted on by the mount table Mounts (as /proc/self/mounts gives it:
// device, folder and more per line, blanks and the like written as octal escapes); "" when none.
std::string MountFolderIn(const std::string& Mounts, const std::string& Root);

// Drives as a test describes them; a disc is a folder that holds a DVD.
class FakeDriveService : public DriveService {
public:
    struct Drive {
        std::string Root;
        bool HasDisc = false;
        std::string Label;
        std::string DiscFolder;
        std::string MountFolder = {}; // "" when not mounted
    };
    std::vector<std::string> OpticalDrives() override;
    bool ReadVolume(const std::string& Root, std::string& Label) override;
    std::string DiscSource(const std::string& Root) override;
    std::string MountFolder(const std::string& Root) override;

    std::vector<Drive> Drives;
};

// The service in use: the machine's, or an empty FakeDriveService when QUOREL_DRIVES=fake.
DriveService& GetDriveService();
// Puts Service in use until the next call (tests); nullptr returns to the default. The caller keeps
// ownership.
void SetDriveService(DriveService* Service);

constexpr UINT DRIVE_UNKNOWN = 0, DRIVE_NO_ROOT_DIR = 1, DRIVE_REMOVABLE = 2, DRIVE_FIXED = 3,
               DRIVE_REMOTE = 4, DRIVE_CDROM = 5, DRIVE_RAMDISK = 6;

// DRIVE_CDROM for the root of an optical drive, DRIVE_NO_ROOT_DIR for anything else.
UINT GetDriveTypeA(const std::string& Root);
// TRUE when Root is an optical drive holding a readable volume; Label (may be null) gets its label.
BOOL GetVolumeInformationA(const std::string& Root, std::string* Label);

// The one test of a drive's name. The root of the optical drive that Text names: by its root (device node),
// or by the folder its disc is mounted on (with or without a "/" at the end), alone or followed by a blank
// and more (a drive list entry: the root, a blank and the disc's label); "" when Text names no optical drive.
// Names are compared as the file system compares them, with regard to case.
std::string DriveRootOf(const std::string& Text);

} // namespace win32
