#pragma once
// What the benchmarks that make the main window need: the program's services answered without a desktop
// (offscreen Qt, fake audio output, screen saver and power; set before the QApplication is made), every
// message box answered OK, and the default skin drawn into the run tree's skin folder.

#include <cstdlib>

#include <QString>

#include "assets/SkinArt.h"
#include "core/PlaybackState.h"
#include "platform/win32/MessageBox.h"

namespace bench {

inline void UseHeadlessServices() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QUOREL_AUDIO_OUTPUT", "fake", 0);
    ::setenv("QUOREL_SCREENSAVER", "fake", 0);
    ::setenv("QUOREL_POWER", "fake", 0);
}

inline void AnswerMessageBoxesOk() {
    win32::SetMessageBoxHandler([](const win32::MessageBoxRequest&) { return win32::IDOK; });
}

// Into State.SkinPath, which a run tree has just set.
inline void DrawDefaultSkin() {
    for (const auto& file : skinart::DefaultSkinFiles())
        skinart::DrawSkinFile(file.Name).save(QString::fromStdString(State.SkinPath + file.Name), "BMP");
}

} // namespace bench
