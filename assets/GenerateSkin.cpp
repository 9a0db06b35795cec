// Writes the default skin into a run tree: every bitmap of Skin/Default and the icon Image/logo_s.ico.
// Usage: GenerateSkin <run tree>

#include <cstdio>
#include <filesystem>

#include <QGuiApplication>

#include "assets/SkinArt.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: GenerateSkin <run tree>\n");
        return 2;
    }
    // Drawing needs no display: the offscreen platform gives the fonts for the glyphs with letters.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::filesystem::path root = argv[1];
    const std::filesystem::path skin = root / "Skin" / "Default";
    const std::filesystem::path image = root / "Image";
    std::filesystem::create_directories(skin);
    std::filesystem::create_directories(image);
    for (const auto& file : skinart::DefaultSkinFiles()) {
        const QImage picture = skinart::DrawSkinFile(file.Name);
        const std::string path = (skin / file.Name).string();
        if (picture.isNull() || !picture.save(QString::fromStdString(path), "BMP")) {
            std::fprintf(stderr, "GenerateSkin: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    const std::string icon = (image / "logo_s.ico").string();
    if (!skinart::WriteIconFile(icon, {skinart::DrawLogoIcon(16), skinart::DrawLogoIcon(32),
                                       skinart::DrawLogoIcon(48)})) {
        std::fprintf(stderr, "GenerateSkin: cannot write %s\n", icon.c_str());
        return 1;
    }
    return 0;
}
