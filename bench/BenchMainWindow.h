#pragma once
// What the benchmarks that make the main window need besides a headless player (bench/Headless.h): every
// message box answered OK, and the default skin drawn into the run tree's skin folder.

#include <QString>

#include "assets/SkinArt.h"
#include "core/PlaybackState.h"
#include "platform/win32/MessageBox.h"

namespace bench {

inline void AnswerMessageBoxesOk() {
    win32::SetMessageBoxHandler([](const win32::MessageBoxRequest&) { return win32::IDOK; });
}

// Into State.SkinPath, which a run tree has just set.
inline void DrawDefaultSkin() {
    for (const auto& file : skinart::DefaultSkinFiles())
        skinart::DrawSkinFile(file.Name).save(QString::fromStdString(State.SkinPath + file.Name), "BMP");
}

} // namespace bench
