#include "core/PipLayout.h"

void OpenPip(const std::string&, const std::string&) {}

void SwapPip() {}

void SetPipStandardPosition(int) {}
