// Quorbel: batch conversion of text files.
// The windows are not wired up yet: the program reads its command line and exits.
#include "text/UCodeSysUtils.h"

int main(int argc, char** argv) {
    InitWideCommandLine(argc, argv);
    return 0;
}
