#include "core/PipEdit.h"

void BeginPipDrag(int, int, int, win32::HWND, forms::TMouseButton) {}

void PipMouseMove(win32::HWND, int, int, int, forms::TShiftState) {}

void UpdatePipOrientation() {}

void NormalizePip(forms::TObject*, bool) {}

void FlipPipVertical(forms::TObject*, bool) {}

void MirrorPip(forms::TObject*, bool) {}
