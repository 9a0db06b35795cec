// The options dialog's File link page over a large registry store: the store holds N other extensions (each a
// key with a default value and a ProgID key with its open verb, as other programs leave them: 5 keys each)
// and ".mkv" linked with the player. For N = 200, 600 and 2,000 extensions (1,000, 3,000 and 10,000 keys):
// - the store read alone (one parse);
// - the page shown (its 85 boxes ticked from the store);
// - one box ticked (".avi" linked: one read and one write of the store, and the desktop's links made);
// - "Default" (54 extensions linked in one click).
// Each figure is the least of three runs (the machine may be busy). The desktop's links go to folders of the
// benchmark's own. Runs headless (offscreen). Run: build/bench/file_link_page_bench

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include "bench/BenchTiming.h"
#include "bench/Headless.h"
#include "core/DialogLaunchers.h"
#include "platform/forms/ScrollBox.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Registry.h"
#include "tests/support/RunTree.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"
#include "ui/OptionForm.h"

namespace {

double Seconds(const std::function<void()>& Step) {
    const auto start = bench::Clock::now();
    Step();
    return bench::Since(start);
}

struct Row {
    double parse, page, tick, defaults;
};

Row Min(const Row& A, const Row& B) {
    return {std::min(A.parse, B.parse), std::min(A.page, B.page), std::min(A.tick, B.tick),
            std::min(A.defaults, B.defaults)};
}

void FillStore(const std::string& Path, int Extensions) {
    using win32::HKEY_CLASSES_ROOT;
    win32::RegistryStore store(Path);
    store.BeginBatch();
    for (int i = 0; i < Extensions; ++i) {
        const std::string ext = ".other" + std::to_string(i);
        const std::string progId = "OtherPlayer" + ext;
        store.CreateKey(HKEY_CLASSES_ROOT, ext);
        store.WriteString(HKEY_CLASSES_ROOT, ext, "", progId);
        store.CreateKey(HKEY_CLASSES_ROOT, progId + "\\Shell\\Open\\Command");
        store.WriteString(HKEY_CLASSES_ROOT, progId + "\\Shell\\Open\\Command", "", "other \"%1\"");
    }
    store.CreateKey(HKEY_CLASSES_ROOT, ".mkv");
    store.WriteString(HKEY_CLASSES_ROOT, ".mkv", "", "TarvexDVD.mkv");
    if (store.EndBatch() != win32::RegistryStatus::Ok)
        std::fprintf(stderr, "the store could not be written\n");
}

forms::TCheckBox* BoxOf(TOption_Form& Dialog, const std::string& Caption) {
    forms::TScrollBox* scroll = Dialog.Page.ExtensionScrollBox;
    for (int i = 0; i < scroll->ControlCount(); ++i)
        if (auto* box = dynamic_cast<forms::TCheckBox*>(scroll->Controls(i));
            box && box->Caption() == Caption)
            return box;
    return nullptr;
}

Row Measure(int Extensions) {
    testing_support::RunTree tree;
    testing_support::TempDir home;
    testing_support::ScopedEnv config("XDG_CONFIG_HOME", home.File("config").c_str());
    testing_support::ScopedEnv data("XDG_DATA_HOME", home.File("data").c_str());
    const std::string path = win32::UserRegistryStorePath();
    FillStore(path, Extensions);

    Row row{};
    row.parse = Seconds([&] { win32::RegistryStore(path).KeyExists(win32::HKEY_CLASSES_ROOT, ".mkv"); });
    TOption_Form dialog;
    GiveDialogFont(dialog);
    dialog.SetLanguage(1);
    dialog.LoadTexts();
    dialog.ApplyTexts();
    dialog.LoadSettings();
    dialog.Show();
    row.page = Seconds([&] { dialog.FileType_SBClick(&dialog); });
    forms::TCheckBox* mkv = BoxOf(dialog, ".mkv");
    forms::TCheckBox* avi = BoxOf(dialog, ".avi");
    if (mkv == nullptr || avi == nullptr || !mkv->Checked() || avi->Checked())
        std::fprintf(stderr, "the page does not show the store\n");
    QCheckBox* inner = avi->findChild<QCheckBox*>();
    row.tick = Seconds([&] { QTest::mouseClick(inner, Qt::LeftButton, {}, QPoint(6, inner->height() / 2)); });
    row.defaults = Seconds([&] { QTest::mouseClick(dialog.Page.ExtensionButtons[2], Qt::LeftButton); });
    if (!avi->Checked() || win32::RegistryStore(path).ReadString(win32::HKEY_CLASSES_ROOT, ".avi", "") !=
                               std::optional<std::string>("TarvexDVD.avi"))
        std::fprintf(stderr, "the tick did not link .avi\n");
    return row;
}

Row Best(int Extensions) {
    return Min(Min(Measure(Extensions), Measure(Extensions)), Measure(Extensions));
}

} // namespace

int main(int argc, char** argv) {
    bench::UseHeadlessPlayer();
    QApplication app(argc, argv);
    win32::SetMessageBoxHandler([](const win32::MessageBoxRequest&) { return win32::IDOK; });
    std::printf("registry keys: store read, page shown, one box ticked, \"Default\" clicked\n");
    for (const int extensions : {200, 600, 2'000}) {
        const Row row = Best(extensions);
        std::printf("%6d keys: %7.3f s %7.3f s %7.3f s %7.3f s\n", extensions * 5 + 1, row.parse, row.page,
                    row.tick, row.defaults);
    }
    std::printf("(before: the page with 1,000 keys 0.6 s, 3,000 keys 3.8 s, 10,000 keys 49 s)\n");
    return 0;
}
