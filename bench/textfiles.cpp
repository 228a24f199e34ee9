// Loading and saving text files beside glibc's iconv on the same files: a 200 MB UTF-8 file
// (no mark, so detection decodes all of it) and a 200 MB UTF-16 LE file (with its mark) are
// loaded with detection, and their texts saved in the other encoding. iconv's side reads the
// same file whole and converts it in one call; when saving, it converts the same in-memory
// text and writes and syncs the file as the saver does. Prints the time ratio ours / iconv
// (below 1: ours is faster) and the peak memory of each of our operations, measured in a
// fresh process, as a multiple of the file size.
//
// QUORBEL_BENCH_MB sets the file size in MB (default 200); QUORBEL_BENCH_DIR the folder for
// the files (default the system's temporary folder).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <iconv.h>
#include <map>
#include <random>
#include <string>
#include <unistd.h>

#include "text/SafeFileWrite.h"
#include "text/TextFiles.h"
#include "text/UCodeClasses.h"
#include "text/UCodeSysUtils.h"

namespace {

std::size_t TargetBytes() {
    const char* env = std::getenv("QUORBEL_BENCH_MB");
    std::size_t mb = env ? std::strtoul(env, nullptr, 10) : 200;
    return (mb ? mb : 200) << 20;
}

struct BenchFiles {
    std::filesystem::path dir;
    std::string utf8, utf16, out;
};

BenchFiles& Files() {
    static BenchFiles files;
    return files;
}

// A text file as people have them: mostly Latin lines, some other scripts and emoji.
void MakeFiles() {
    const char* env = std::getenv("QUORBEL_BENCH_DIR");
    std::string pattern =
        (std::filesystem::path(env ? env : std::filesystem::temp_directory_path().string()) /
         "textfiles-XXXXXX")
            .string();
    if (!mkdtemp(pattern.data())) std::abort();
    BenchFiles& f = Files();
    f.dir = pattern;
    f.utf8 = (f.dir / "utf8.txt").string();
    f.utf16 = (f.dir / "utf16.txt").string();
    f.out = (f.dir / "out.txt").string();

    const char* lines[] = {
        "Item %d: the invoice was sent on Monday, payment is due within 30 days.\r\n",
        "Größe %d: Übergrößen für Bären, Flöße und Käfer; Preis 12,50 €.\r\n",
        "Строка %d: привет, мир; добро пожаловать.\r\n",
        "行 %d: 東京都の天気は晴れです。\r\n",
        "Line %d with emoji 😀👍 and a long tail of ordinary words to read.\r\n",
        "key%d=value; path=/home/user/documents/report.txt\r\n",
    };
    const int weights[] = {8, 3, 1, 1, 1, 6};
    std::mt19937 random(5);
    std::discrete_distribution<int> pick(std::begin(weights), std::end(weights));
    std::string text;
    const std::size_t want = TargetBytes();
    text.reserve(want + 256);
    char line[256];
    for (int n = 0; text.size() < want; ++n) {
        std::snprintf(line, sizeof line, lines[pick(random)], n);
        text += line;
    }
    if (!SafeFileWrite(f.utf8, text)) std::abort();
    WideString wide = UTF8ToWide(text);
    std::string().swap(text);
    const std::size_t target16 = want & ~std::size_t(1);
    if (wide.size() * 2 + 2 > target16) wide.resize((target16 - 2) / 2);
    while (wide.size() * 2 + 2 < target16)
        wide += wide.substr(0, (target16 - 2) / 2 - wide.size());
    if (!SaveTextFileW(wide, U16(f.utf16), teUTF16LE, true)) std::abort();
}

std::string ReadWhole(const std::string& path) {
    TUCodeFileStream stream(U16(path), fmOpenRead | fmShareDenyNone);
    return ReadStreamRest(stream);
}

// One whole-buffer iconv call into an output of outBytes.
template <class Out>
Out Iconv(const char* to, const char* from, const void* data, std::size_t bytes,
          std::size_t outBytes) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) std::abort();
    Out out(outBytes / sizeof(typename Out::value_type), 0);
    char* in = const_cast<char*>(static_cast<const char*>(data));
    std::size_t inLeft = bytes;
    char* o = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = outBytes;
    if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1)) std::abort();
    iconv_close(cd);
    out.resize((outBytes - outLeft) / sizeof(typename Out::value_type));
    return out;
}

void WriteAndSync(const std::string& path, const void* data, std::size_t size) {
    TSafeFileWriter writer(path);
    if (!writer.Write(data, size) || !writer.Commit()) std::abort();
}

const WideString& TextOf(const std::string& path) {
    static std::map<std::string, WideString> texts;
    auto it = texts.find(path);
    if (it == texts.end()) {
        WideString text;
        LoadTextFileW(U16(path), text);
        it = texts.emplace(path, std::move(text)).first;
    }
    return it->second;
}

// The operations, by name, as run both timed and in a fresh process for the peak memory.
const std::map<std::string, std::function<void()>>& Operations() {
    static const std::map<std::string, std::function<void()>> ops = {
        {"LoadUtf8_Ours",
         [] {
             WideString text;
             LoadTextFileW(U16(Files().utf8), text);
             benchmark::DoNotOptimize(text.data());
         }},
        {"LoadUtf8_Iconv",
         [] {
             std::string bytes = ReadWhole(Files().utf8);
             auto text = Iconv<WideString>("UTF-16LE", "UTF-8", bytes.data(), bytes.size(),
                                           bytes.size() * 2);
             benchmark::DoNotOptimize(text.data());
         }},
        {"LoadUtf16_Ours",
         [] {
             WideString text;
             LoadTextFileW(U16(Files().utf16), text);
             benchmark::DoNotOptimize(text.data());
         }},
        {"LoadUtf16_Iconv",
         [] {
             std::string bytes = ReadWhole(Files().utf16);
             auto text =
                 Iconv<WideString>("UTF-16LE", "UTF-16", bytes.data(), bytes.size(), bytes.size());
             benchmark::DoNotOptimize(text.data());
         }},
        {"SaveUtf16TextAsUtf8_Ours",
         [] { SaveTextFileW(TextOf(Files().utf16), U16(Files().out), teUTF8, false); }},
        {"SaveUtf16TextAsUtf8_Iconv",
         [] {
             const WideString& text = TextOf(Files().utf16);
             auto bytes = Iconv<std::string>("UTF-8", "UTF-16LE", text.data(), text.size() * 2,
                                             text.size() * 3);
             WriteAndSync(Files().out, bytes.data(), bytes.size());
         }},
        {"SaveUtf8TextAsUtf16_Ours",
         [] { SaveTextFileW(TextOf(Files().utf8), U16(Files().out), teUTF16LE, true); }},
        {"SaveUtf8TextAsUtf16_Iconv",
         [] {
             // iconv's "UTF-16" writes the mark as the saver does.
             const WideString& text = TextOf(Files().utf8);
             auto bytes = Iconv<std::string>("UTF-16", "UTF-16LE", text.data(), text.size() * 2,
                                             text.size() * 2 + 2);
             WriteAndSync(Files().out, bytes.data(), bytes.size());
         }},
    };
    return ops;
}

// The peak resident memory of this process so far, in bytes (VmHWM).
long OwnPeakBytes() {
    long kb = 0;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
        std::fclose(f);
    }
    return kb * 1024;
}

// Runs one operation in a fresh process (arguments: --peak NAME UTF8 UTF16 OUT), which
// prints its peak memory; returns it less that of a process that ran nothing.
long PeakBytes(const std::string& name) {
    auto run = [](const std::string& op) {
        const BenchFiles& f = Files();
        std::string command = "/proc/" + std::to_string(getpid()) + "/exe --peak " + op + " '" +
                              f.utf8 + "' '" + f.utf16 + "' '" + f.out + "'";
        long bytes = -1;
        if (FILE* p = popen(command.c_str(), "r")) {
            if (std::fscanf(p, "%ld", &bytes) != 1) bytes = -1;
            pclose(p);
        }
        if (bytes < 0) std::fprintf(stderr, "peak run of %s failed\n", op.c_str());
        return bytes;
    };
    return run(name) - run("none");
}

int PeakMain(char** argv) {
    BenchFiles& f = Files();
    f.utf8 = argv[3];
    f.utf16 = argv[4];
    f.out = argv[5];
    std::string name = argv[2];
    // A save needs its text: the peak includes loading it.
    if (name.starts_with("Save"))
        TextOf(name.find("Utf16Text") != std::string::npos ? f.utf16 : f.utf8);
    auto it = Operations().find(name);
    if (it != Operations().end()) it->second();
    std::printf("%ld\n", OwnPeakBytes());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "--peak") == 0) return PeakMain(argv);
    MakeFiles();
    const std::size_t fileSize = std::filesystem::file_size(Files().utf8);

    for (const auto& [name, op] : Operations()) {
        const std::string file = name.find("Utf16") != std::string::npos && name.starts_with("Load")
                                     ? Files().utf16
                                 : name.starts_with("Load") ? Files().utf8
                                                            : Files().out;
        benchmark::RegisterBenchmark(
            name.c_str(),
            [op = op, file](benchmark::State& state) {
                if (file == Files().out) op(); // loads the text first
                for (auto _ : state)
                    op();
                state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                                        static_cast<int64_t>(std::filesystem::file_size(file)));
            })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3)
            ->UseRealTime();
    }

    benchmark::Initialize(&argc, argv);
    class Collector : public benchmark::ConsoleReporter {
    public:
        std::map<std::string, double> times;
        void ReportRuns(const std::vector<Run>& runs) override {
            for (const auto& run : runs)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
            ConsoleReporter::ReportRuns(runs);
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nTime ratio ours / iconv (below 1: ours is faster):\n");
    for (const char* op : {"LoadUtf8", "LoadUtf16", "SaveUtf16TextAsUtf8", "SaveUtf8TextAsUtf16"}) {
        auto ours = reporter.times.find(std::string(op) + "_Ours/iterations:3/real_time");
        auto peer = reporter.times.find(std::string(op) + "_Iconv/iterations:3/real_time");
        if (ours != reporter.times.end() && peer != reporter.times.end())
            std::printf("  %-22s %.2f\n", op, ours->second / peer->second);
    }
    std::printf("\nPeak memory of our operations, as a multiple of the %zu MB file:\n",
                fileSize >> 20);
    for (const char* op : {"LoadUtf8_Ours", "LoadUtf16_Ours", "SaveUtf16TextAsUtf8_Ours",
                           "SaveUtf8TextAsUtf16_Ours"})
        std::printf("  %-26s %.2f\n", op, double(PeakBytes(op)) / double(fileSize));
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(Files().dir, ignored);
    return 0;
}
