#pragma once
// Optical drives. A drive is named by its device node (/dev/sr0), which stands where a drive letter's root
// ("D:") stood; the DVD in it is read through that node. The player asks through GetDriveTypeA and
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
};

class LinuxDriveService : public DriveService {
public:
    std::vector<std::string> OpticalDrives() override;
    bool ReadVolume(const std::string& Root, std::string& Label) override;
};

// Drives as a test describes them; a disc is a folder that holds a DVD.
class FakeDriveService : public DriveService {
public:
    struct Drive {
        std::string Root;
        bool HasDisc = false;
        std::string Label;
        std::string DiscFolder;
    };
    std::vector<std::string> OpticalDrives() override;
    bool ReadVolume(const std::string& Root, std::string& Label) override;
    std::string DiscSource(const std::string& Root) override;

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

// The optical drive's root that Text starts with (the root alone, or the root, a blank and more); "" when
// Text names no optical drive.
std::string DriveRootOf(const std::string& Text);

} // namespace win32
