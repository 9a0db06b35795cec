#pragma once
// Volumes: whether a path names a whole volume, and its capacity.
//
// A drive is named on this platform by its device node (/dev/sr0) or by the folder it is mounted on; either
// names the whole volume, where a drive letter's root did elsewhere.

#include <cstdint>
#include <string>

#include "platform/win32/Types.h"

namespace win32 {

// True for a block device node and for the folder a file system is mounted on.
bool IsVolumeRoot(const std::string& Path);

// The capacity and free space of the volume that holds Path; for a block device node, the device's size
// (nothing free). Each result pointer may be null. FALSE when Path names nothing readable.
BOOL GetDiskFreeSpaceExA(const std::string& Path, std::uint64_t* FreeBytesAvailable,
                         std::uint64_t* TotalBytes, std::uint64_t* TotalFreeBytes);

} // namespace win32
