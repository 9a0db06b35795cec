// What long lists cost at start and at each open, for N = 10,000 and 20,000 (the time should double, not
// quadruple):
// - the show step's history: "HistoryList" of N entries read, decompressed and made into N submenu items;
// - the first activation's stored play list: "PlayFileList" of N existing files read, merged into the
//   history (N new entries, N more items) and the history file written;
// - one more file opened on the history of 2N entries (the merge and the rewrite of the file);
// - the clear command on the 2N items;
// - apart: the first opening of the history submenu afterwards, where Qt's menu takes its 2N actions one by
//   one (each addition scans its list: that part grows with the square of the length, in Qt, and only when
//   the user opens the submenu).
// Each figure is the least of three runs (the machine may be busy).
// Runs headless (offscreen). Run: build/bench/history_bench

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include <QApplication>

#include "bench/BenchMainWindow.h"
#include "bench/Headless.h"
#include "core/History.h"
#include "core/PlaybackState.h"
#include "tests/support/RunTree.h"
#include "ui/PlayListFile.h"
#include "ui/QuorelMainUnit.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(const std::function<void()>& Step) {
    const auto start = Clock::now();
    Step();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Row {
    double showHistory, loadPlayList, openOne, clear;
    // Parts of the stored play list's step: its lines into entries, the merge into the history, the new
    // items, the history file written.
    double entries, merge, items, save;
    // The history submenu filled as it first opens (Qt's menu adds its actions one by one).
    double open;
};

Row Min(const Row& A, const Row& B) {
    return {std::min(A.showHistory, B.showHistory),
            std::min(A.loadPlayList, B.loadPlayList),
            std::min(A.openOne, B.openOne),
            std::min(A.clear, B.clear),
            std::min(A.entries, B.entries),
            std::min(A.merge, B.merge),
            std::min(A.items, B.items),
            std::min(A.save, B.save),
            std::min(A.open, B.open)};
}

Row Measure(int N) {
    testing_support::RunTree tree;
    bench::DrawDefaultSkin();
    // N existing media files in the stored play list, N other paths in the stored history.
    const std::string media = tree.Root() + "/media/";
    std::filesystem::create_directories(media);
    forms::TStringList files, positions, lines, history;
    for (int i = 0; i < N; ++i) {
        const std::string path = media + "Clip " + std::to_string(i) + ".mp4";
        std::ofstream{path};
        files.Add(path);
        positions.Add("0");
        history.Add("/archive/Film " + std::to_string(i) + ".avi");
    }
    PlayListLinesOf(files, positions, lines);
    lines.SaveToFile(State.ProjectPath + "/PlayFileList");
    SaveHistoryList(history);

    TQuorelMain_Form form(tree.ProgramFile(), {});
    const forms::TNotifyEvent onClick = [&form](forms::TObject* Sender) { form.HistoryItemClick(Sender); };
    Row row{};
    row.showHistory = Seconds([&] {
        LoadHistoryList(*State.History);
        AddFileNameItems(*State.History, form.pHistory, &form, onClick);
    });
    row.loadPlayList = Seconds([&] { form.LoadStoredPlayList(); });
    // The same steps again, one by one, on lists as long as the step's.
    forms::TStringList entries, places;
    State.History->Clear();
    for (int i = 0; i < N; ++i)
        State.History->Add("/archive/Film " + std::to_string(i) + ".avi");
    const int kept = form.pHistory->Count();
    form.pHistory->DeleteFrom(4 + N);
    row.entries = Seconds([&] { AddPlayListEntries(*State.PlayListLines, entries, places, true); });
    row.merge = Seconds([&] { AddUniqueLines(entries, *State.History); });
    row.items = Seconds([&] { AddFileNameItems(*State.History, form.pHistory, &form, onClick); });
    row.save = Seconds([&] { SaveHistoryList(*State.History); });
    if (form.pHistory->Count() != kept)
        std::fprintf(stderr, "unexpected items: %d, not %d\n", form.pHistory->Count(), kept);
    row.openOne = Seconds([&] { form.AddFileToHistory(media + "one more.mp4"); });
    row.open = Seconds([&] { form.pHistory->SubMenu(); });
    row.clear = Seconds([&] { ClearHistory(form.pHistory); });
    // Menus let go of are freed by the event loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (State.PlayListFiles->Count() != N || form.pHistory->Count() != 4)
        std::fprintf(stderr, "unexpected lists: %d entries, %d items\n", State.PlayListFiles->Count(),
                     form.pHistory->Count());
    return row;
}

// The least of three runs: the machine may be busy with other work.
Row Best(int N) {
    return Min(Min(Measure(N), Measure(N)), Measure(N));
}

void Print(int N, const Row& R) {
    std::printf("%6d entries: show step %7.3f s, stored play list %7.3f s, one open %7.3f s, clear %7.3f s\n",
                N, R.showHistory, R.loadPlayList, R.openOne, R.clear);
    std::printf(
        "       play list step: lines to entries %7.3f s, merge %7.3f s, items %7.3f s, save %7.3f s\n",
        R.entries, R.merge, R.items, R.save);
    std::printf("       the submenu of %d entries opened the first time: %7.3f s\n", 2 * N + 1, R.open);
}

} // namespace

int main(int argc, char** argv) {
    bench::UseHeadlessPlayer();
    QApplication app(argc, argv);
    bench::AnswerMessageBoxesOk();
    const Row ten = Best(10'000);
    const Row twenty = Best(20'000);
    Print(10'000, ten);
    Print(20'000, twenty);
    std::printf("20,000 / 10,000: show step %.2f, stored play list %.2f, one open %.2f, clear %.2f\n",
                twenty.showHistory / ten.showHistory, twenty.loadPlayList / ten.loadPlayList,
                twenty.openOne / ten.openOne, twenty.clear / ten.clear);
    std::printf("                 lines to entries %.2f, merge %.2f, items %.2f, save %.2f\n",
                twenty.entries / ten.entries, twenty.merge / ten.merge, twenty.items / ten.items,
                twenty.save / ten.save);
    return 0;
}
