#pragma once
// The media control interface's door commands for the optical drive's tray, over a disc tray service: the
// default optical drive (/dev/cdrom, else /dev/sr0) through the kernel's CD-ROM eject calls, or a recording
// fake, so that tests never open a tray of the machine they run on. A command with "wait" returns once the
// drive has done it: callers on the GUI thread send it from a worker thread.

#include <mutex>
#include <string>
#include <vector>

#include "platform/win32/Types.h"

namespace win32 {

class DiscTrayService {
public:
    virtual ~DiscTrayService() = default;
    // Open or close the tray; false when there is no drive or it refuses (a mounted disc, no tray).
    virtual bool OpenDoor() = 0;
    virtual bool CloseDoor() = 0;
};

class CdromDiscTrayService : public DiscTrayService {
public:
    bool OpenDoor() override;
    bool CloseDoor() override;
};

// Records "OpenDoor" and "CloseDoor"; safe to call from any thread.
class FakeDiscTrayService : public DiscTrayService {
public:
    bool OpenDoor() override;
    bool CloseDoor() override;
    std::vector<std::string> Calls() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

// The service in use: the drive's, or a FakeDiscTrayService when QUOREL_DISC_TRAY=fake.
DiscTrayService& GetDiscTrayService();
// Puts Service in use until the next call (tests); nullptr returns to the default. The caller keeps ownership
// and keeps it alive while commands sent before may still run.
void SetDiscTrayService(DiscTrayService* Service);

using MCIERROR = DWORD;
constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = 261 + 5;
constexpr MCIERROR MCIERR_HARDWARE = 261 + 6;

// "set cdaudio door open" and "set cdaudio door closed", with or without "wait" (without regard to case or
// the blanks between words), through the disc tray service: 0 when done, MCIERR_HARDWARE when the drive
// refused. Any other command: MCIERR_UNRECOGNIZED_COMMAND. Nothing is returned in ReturnString; Callback is
// not notified.
MCIERROR mciSendString(const std::string& Command, char* ReturnString, UINT ReturnLength, HWND Callback);

} // namespace win32
