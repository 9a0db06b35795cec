#include "core/DvdNavigation.h"

TDvdDomain GetDvdDomain() { return DvdDomains::Unknown; }

std::int64_t GetDvdTitleLengthSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S) {
    H = M = S = 0;
    return 0;
}

std::int64_t GetDvdPositionSeconds(std::int64_t& H, std::int64_t& M, std::int64_t& S) {
    H = M = S = 0;
    return 0;
}

void UpdateDvdChapterButtons(forms::TImage*, forms::TImage*, forms::TImage*, forms::TImage*) {}

void UpdateDvdChapterMenus(forms::TMenuItem*, forms::TMenuItem*) {}
