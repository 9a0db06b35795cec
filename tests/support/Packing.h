#pragma once
// Text packed and unpacked as the history file holds it (the compression library at level 3), for tests that
// write a stored history or read one back.

#include <string>

namespace testing_support {

std::string PackedText(const std::string& Text);
// The text of Bytes; fails the running test when they do not unpack.
std::string UnpackedText(const std::string& Bytes);

} // namespace testing_support
