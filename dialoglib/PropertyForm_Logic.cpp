#include "dialoglib/PropertyForm_Logic.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "core/shared/PathEndings.h"
#include "platform/forms/Conversions.h"
#include "platform/win32/DiskSpace.h"

namespace fs = std::filesystem;

TPropertyTexts PropertyTexts(int Language) {
    switch (Language) {
    case 1:
        return {"Property", "Type:", "Size:", "Frame speed:", "Media time:", "Resolution:",
                "Path:",    "OK",    "File",  "MB",           "byte"};
    case 2:
        return {"属性",  "类型:", "大小:", "帧速率:", "媒体时长:", "视频分辨率:",
                "位置:", "确定",  "文件",  "MB",      "字节"};
    default:
        return {};
    }
}

// The exact path is asked for: a name holding "*" or "?" is a name like any other here, never a pattern.
std::int64_t GetFileSizeByName(const std::string& Name) {
    std::error_code ec;
    const auto size = fs::file_size(Name, ec);
    return ec ? 0 : static_cast<std::int64_t>(size);
}

// One folder at a time, its listing closed before its sub-folders are read: an entry that cannot be read (a
// folder whose path is too long, a file removed during the walk) adds nothing, and the walk goes on with the
// others instead of ending there.
std::int64_t GetDirectorySize(const std::string& Dir) {
    std::int64_t total = 0;
    std::vector<fs::path> folders;
    {
        std::error_code ec;
        fs::directory_iterator entries(Dir, ec);
        for (const fs::directory_iterator end; !ec && entries != end; entries.increment(ec)) {
            std::error_code entryError;
            // symlink_status: a link is neither a regular file nor a folder to descend into.
            const fs::file_type type = entries->symlink_status(entryError).type();
            if (type == fs::file_type::directory) {
                folders.push_back(entries->path());
            } else if (type == fs::file_type::regular) {
                const auto size = entries->file_size(entryError);
                if (!entryError)
                    total += static_cast<std::int64_t>(size);
            }
        }
    }
    for (const fs::path& folder : folders)
        total += GetDirectorySize(folder.string());
    return total;
}

TMediaFacts DescribeMedia(int PlayType, const std::string& Path, const TPropertyTexts& Texts) {
    TMediaFacts facts;
    if (PlayType == 2) {
        facts.TypeValue = "DVD";
        facts.MediaFileName = Path;
        if (win32::IsVolumeRoot(Path)) {
            std::uint64_t total = 0;
            facts.Size = win32::GetDiskFreeSpaceExA(Path, nullptr, &total, nullptr)
                             ? static_cast<std::int64_t>(total)
                             : 0;
        } else {
            facts.Size = GetDirectorySize(IncludeTrailingSlash(Path));
        }
        return facts;
    }
    facts.TypeValue = Texts.FileWord + " " + ExtractFileExt(Path);
    facts.MediaFileName = ExtractFileName(Path);
    facts.Size = GetFileSizeByName(Path);
    return facts;
}

std::string SizeText(std::int64_t Size, const TPropertyTexts& Texts) {
    return std::to_string(Size / 1024 / 1024) + Texts.MegabyteWord + " (" + std::to_string(Size) + " " +
           Texts.ByteWord + ")";
}

std::string ResolutionText(int Width, int Height) {
    return std::to_string(Width) + " * " + std::to_string(Height);
}

std::string FrameRateText(double FrameRate) {
    return forms::FloatToStr(FrameRate);
}
