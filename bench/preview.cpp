// The preview of one large input file: selecting it loads the old memo, converts the text
// once with one replacement and fills the new memo. Files of 1, 5 and 20 MB; the time per
// megabyte should stay flat (linear growth). Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "mainwindow/u_prog.h"
#include "text/UCodeSysUtils.h"

namespace {

namespace fs = std::filesystem;

Tprog* Window() {
    static Tprog* window = [] {
        if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
        InitApplication();
        auto* w = new Tprog(Application);
        w->DoCreate();
        w->act_ers_text->SetChecked(true);
        w->act_ers_text_suchen->SetText(u"fox");
        w->act_ers_text_ersetzen->SetText(u"cat");
        return w;
    }();
    return window;
}

// A file of about Megabytes MB of LF lines.
fs::path MakeFile(int Megabytes) {
    const fs::path file =
        fs::temp_directory_path() / ("quorbel_preview_" + std::to_string(::getpid()) + "_" +
                                     std::to_string(Megabytes) + ".txt");
    std::ofstream out(file, std::ios::binary);
    const std::string line = "The quick brown fox jumps over the lazy dog, line of text 0123.\n";
    for (size_t written = 0; written < size_t(Megabytes) << 20; written += line.size())
        out << line;
    return file;
}

void BM_PreviewOfLargeFile(benchmark::State& state) {
    Tprog* p = Window();
    const int megabytes = static_cast<int>(state.range(0));
    const fs::path file = MakeFile(megabytes);
    p->qulist->Items().Clear();
    p->add2list(U16(file.string()), p->qulist);
    p->qulist->Items()[0]->SetSelected(true);
    for (auto _ : state) {
        // Empty memos, so that every round fills them as a new selection does.
        state.PauseTiming();
        p->vor_alt->Clear();
        p->vor_neu->Clear();
        state.ResumeTiming();
        p->VorschauSetzen(p->qulist);
        benchmark::DoNotOptimize(p->vor_neu->Lines().Count());
    }
    state.counters["MB"] = megabytes;
    fs::remove(file);
}
BENCHMARK(BM_PreviewOfLargeFile)
    ->Arg(1)
    ->Arg(5)
    ->Arg(20)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
