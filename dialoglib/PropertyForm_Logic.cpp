#include "dialoglib/PropertyForm_Logic.h"

#include <filesystem>
#include <system_error>

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

std::int64_t GetDirectorySize(const std::string& Dir) {
    std::error_code ec;
    fs::recursive_directory_iterator entries(Dir, fs::directory_options::skip_permission_denied, ec);
    std::int64_t total = 0;
    for (const fs::recursive_directory_iterator end; !ec && entries != end; entries.increment(ec)) {
        std::error_code entryError;
        // symlink_status: a link is neither a regular file nor a folder to descend into.
        if (entries->symlink_status(entryError).type() != fs::file_type::regular)
            continue;
        const auto size = entries->file_size(entryError);
        if (!entryError)
            total += static_cast<std::int64_t>(size);
    }
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
