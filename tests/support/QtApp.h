#pragma once
// The one QApplication of a test executable, created on first use (offscreen under CTest).

namespace testing_support {

void EnsureQApplication();

} // namespace testing_support
