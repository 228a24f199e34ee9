// Quorbel: batch conversion of text files.
#include "mainwindow/MainBlock.h"
#include "text/UCodeSysUtils.h"

int main(int argc, char** argv) {
    InitWideCommandLine(argc, argv);
    return RunMainBlock(argc, argv);
}
