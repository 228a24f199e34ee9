// Our side of bench/codecs.sh: one file converted to another as the program's encoding
// change does it: loaded with detection (a mark, strict UTF-8, else the ANSI code page)
// and saved in the encoding given by its code (without a mark, except where the
// encoding always has one). Usage: bench_convert_file IN OUT CODE [bom]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "text/TextFiles.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s IN OUT CODE [bom]\n", argv[0]);
        return 2;
    }
    try {
        WideString text;
        LoadTextFileW(U16(argv[1]), text);
        const bool bom = argc > 4 && std::string(argv[4]) == "bom";
        return SaveTextFileW(text, U16(argv[2]), std::atoi(argv[3]), bom) ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
