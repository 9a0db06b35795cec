#include "platform/win32/Mci.h"

#include <atomic>
#include <sstream>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/win32/FakeLog.h"

namespace win32 {

namespace {

// The default optical drive: the name the system gives it, else the first SCSI optical drive.
bool DriveRequest(unsigned long Request) {
    for (const char* device : {"/dev/cdrom", "/dev/sr0"}) {
        // Without O_NONBLOCK the open waits for a disc that is not there.
        const int fd = ::open(device, O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            continue;
        const bool done = ::ioctl(fd, Request, 0) == 0;
        ::close(fd);
        return done;
    }
    return false;
}

std::atomic<DiscTrayService*> chosenService = nullptr;

DiscTrayService& DefaultDiscTrayService() {
    static DiscTrayService* const service = []() -> DiscTrayService* {
        if (FakeRequested("QUOREL_DISC_TRAY"))
            return new FakeDiscTrayService();
        return new CdromDiscTrayService();
    }();
    return *service;
}

} // namespace

bool CdromDiscTrayService::OpenDoor() {
    return DriveRequest(CDROMEJECT);
}

bool CdromDiscTrayService::CloseDoor() {
    return DriveRequest(CDROMCLOSETRAY);
}

bool FakeDiscTrayService::OpenDoor() {
    std::lock_guard lock(mutex_);
    calls_.emplace_back("OpenDoor");
    AppendFakeLog("DiscTray OpenDoor");
    return true;
}

bool FakeDiscTrayService::CloseDoor() {
    std::lock_guard lock(mutex_);
    calls_.emplace_back("CloseDoor");
    AppendFakeLog("DiscTray CloseDoor");
    return true;
}

std::vector<std::string> FakeDiscTrayService::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

DiscTrayService& GetDiscTrayService() {
    DiscTrayService* chosen = chosenService.load();
    return chosen != nullptr ? *chosen : DefaultDiscTrayService();
}

void SetDiscTrayService(DiscTrayService* Service) {
    chosenService.store(Service);
}

MCIERROR mciSendString(const std::string& Command, char* ReturnString, UINT ReturnLength, HWND) {
    if (ReturnString != nullptr && ReturnLength > 0)
        ReturnString[0] = '\0';
    std::istringstream words(Command);
    std::vector<std::string> w;
    for (std::string word; words >> word;) {
        for (char& c : word)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        w.push_back(word);
    }
    if (!w.empty() && w.back() == "wait")
        w.pop_back();
    if (w.size() != 4 || w[0] != "set" || w[1] != "cdaudio" || w[2] != "door")
        return MCIERR_UNRECOGNIZED_COMMAND;
    if (w[3] == "open")
        return GetDiscTrayService().OpenDoor() ? 0 : MCIERR_HARDWARE;
    if (w[3] == "closed")
        return GetDiscTrayService().CloseDoor() ? 0 : MCIERR_HARDWARE;
    return MCIERR_UNRECOGNIZED_COMMAND;
}

} // namespace win32
