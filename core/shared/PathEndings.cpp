#include "core/shared/PathEndings.h"

std::string IncludeTrailingSlash(const std::string& Path) {
    if (Path.empty() || Path.back() == '/' || Path.back() == '\\')
        return Path;
    return Path + "/";
}

std::string ExtractFileName(std::string_view Path) {
    const auto slash = Path.rfind('/');
    return std::string(slash == std::string_view::npos ? Path : Path.substr(slash + 1));
}

std::string ExtractFileExt(std::string_view Path) {
    const std::string name = ExtractFileName(Path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}
