#pragma once
// Legacy 8-bit text (ID3v1 tags, lyrics files written on Windows) as UTF-8, the text of every string of the
// player. The system code page the player was written for is the Chinese one (GBK, code page 936), the
// default language of its interface.

#include <string>
#include <string_view>

namespace win32 {

// Bytes that are valid UTF-8 (ASCII included) as they are; otherwise the bytes read as GBK when they are
// valid GBK throughout; otherwise read as Latin-1, which takes any byte. Never fails and never puts a
// replacement character in.
std::string AnsiToUtf8(std::string_view Bytes);

bool IsValidUtf8(std::string_view Bytes);

} // namespace win32
