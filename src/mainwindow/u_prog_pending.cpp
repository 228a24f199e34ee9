// Routines of the working window that later work writes in the file of its job. Until
// then they stand here as empty stand-ins, so that the window builds and runs; whoever
// writes one moves it out of this file into its own.
#include "mainwindow/u_prog.h"

// Preview (u_prog_preview.cpp).
void Tprog::VorschauSetzen(TObject* Sender) {
    (void)Sender;
}
void Tprog::VorschauWennAktiv(TObject* Sender) {
    (void)Sender;
}
void Tprog::VorschauWennAktiv() {
    VorschauWennAktiv(nullptr);
}
void Tprog::VorschauPfad() {}
void Tprog::VorschauVerzoegert(TObject* Sender) {
    (void)Sender;
}
