#pragma once
// The artwork of the default skin, drawn by code: every skin bitmap of the skin folder in every state, the
// frame pictures the main window carries in itself, and the program icon. The build writes the skin folder
// and the icon with GenerateSkin; the main window draws its frame pictures with the same code, so that the
// two always match.

#include <string>
#include <vector>

#include <QImage>

namespace skinart {

// The flat colours the buttons are drawn on, so that they sit seamlessly on the frame: a silver band at the
// top of the title strip (the title buttons and the caption), a dark band below it (the list links and the
// companion windows' tool buttons), the silver control panel and the dark status strip.
inline constexpr QRgb kTitleColor = 0xFFC4C4C4;
inline constexpr QRgb kTitleLowColor = 0xFF404040;
inline constexpr int kTitleBandHeight = 26;
inline constexpr QRgb kControlColor = 0xFFBCBCBC;
inline constexpr QRgb kStatusColor = 0xFF323835;

struct SkinFile {
    std::string Name;
    int Width;
    int Height;
};

// Every file of the skin folder, with the size its button expects.
const std::vector<SkinFile>& DefaultSkinFiles();

// The picture of one skin file (its name as DefaultSkinFiles gives it, or any case of it); a null image for a
// name that is not part of the skin.
QImage DrawSkinFile(const std::string& Name);

// A frame picture of the main window (Topleft_I, Topcenter_I, ..., VideoPro_XI, Mainlogo_I) at the size
// given; a null image for an unknown name.
QImage DrawFramePicture(const std::string& Name, int Width, int Height);

// The program icon at Size x Size.
QImage DrawLogoIcon(int Size);

// Writes Images as one .ico file (32-bit entries); false on error.
bool WriteIconFile(const std::string& Path, const std::vector<QImage>& Images);

} // namespace skinart
