// The input list with many files: adding a folder of 100,000 small text files through the
// working window (the progress window shown, messages pumped), and sorting the 100,000 rows
// by each column as a click on its header does, beside Qt's own sorting of the same tree
// widget by the column's text (the peer: no icons, no byte-count order). Prints times per
// column; the aim is well under a second for every sort.
//
// QUORBEL_BENCH_FILES sets the number of files (default 100000); QUORBEL_BENCH_DIR the folder
// for them (default the system's temporary folder). Runs offscreen.
#include <benchmark/benchmark.h>

#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "dialogs/u_sm_bearbeitung.h"
#include "mainwindow/u_prog.h"
#include "text/UCodeSysUtils.h"

namespace {

int FileCount() {
    const char* env = std::getenv("QUORBEL_BENCH_FILES");
    const int n = env ? std::atoi(env) : 100000;
    return n > 0 ? n : 100000;
}

std::filesystem::path BenchFolder() {
    const char* env = std::getenv("QUORBEL_BENCH_DIR");
    return std::filesystem::path(env ? env : std::filesystem::temp_directory_path().string()) /
           ("quorbel_inputlist_" + std::to_string(::getpid()));
}

// The folder of files: random names, five extensions, sizes from 1 byte to 2 KB.
void MakeFiles(const std::filesystem::path& dir, int count) {
    std::filesystem::create_directories(dir);
    std::mt19937 random(7);
    const char* exts[] = {".txt", ".log", ".csv", ".htm", ".ini"};
    for (int i = 0; i < count; ++i) {
        const std::string name = "f" + std::to_string(random() % 1000000000) + "_" +
                                 std::to_string(i) + exts[random() % 5];
        std::ofstream(dir / name, std::ios::binary) << std::string(1 + random() % 2048, 'a');
    }
}

struct Fixture {
    Fixture() {
        dir = BenchFolder();
        MakeFiles(dir, FileCount());
        prog = new Tprog(Application);
        prog->DoCreate();
        new Tsm_bearbeitung(Application);
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
    Tprog* prog;
};

Fixture& Shared() {
    static Fixture f;
    return f;
}

void BM_AddFolder(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        f.prog->inp_deleteallClick(nullptr);
        f.prog->AddOrdner(U16(f.dir.string()));
    }
    state.counters["rows"] = f.prog->qulist->Items().Count();
}

void FillOnce() {
    Fixture& f = Shared();
    if (f.prog->qulist->Items().Count() == 0) f.prog->AddOrdner(U16(f.dir.string()));
}

void BM_SortByColumn(benchmark::State& state) {
    FillOnce();
    Tprog* p = Shared().prog;
    TListColumn* column = p->qulist->Columns()[int(state.range(0))];
    for (auto _ : state)
        p->qulistColumnClick(p->qulist, column);
    state.counters["rows"] = p->qulist->Items().Count();
}

void BM_QtSortByColumn(benchmark::State& state) {
    FillOnce();
    QTreeWidget* tree = Shared().prog->qulist->Tree();
    Qt::SortOrder order = Qt::AscendingOrder;
    for (auto _ : state) {
        tree->sortItems(int(state.range(0)), order);
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
}

BENCHMARK(BM_AddFolder)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByColumn)->DenseRange(0, 6)->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtSortByColumn)->DenseRange(0, 6)->Iterations(4)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    InitApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DoneApplication();
}
