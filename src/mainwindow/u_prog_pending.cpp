// Routines of the working window that later work writes in the file of its job. Until
// then they stand here as empty stand-ins, so that the window builds and runs; whoever
// writes one moves it out of this file into its own.
#include "mainwindow/u_prog.h"

// Input list (u_prog_list.cpp).
void Tprog::QUSelect(int Status, int Mark, int Index) {
    (void)Status;
    (void)Mark;
    (void)Index;
}
void Tprog::WriteFileCount() {}
void Tprog::add2list(const WideString& Path, TListView* List) {
    (void)Path;
    (void)List;
}
void Tprog::AddOrdner(const WideString& Folder) {
    (void)Folder;
}
void Tprog::swCreate(const WideString& Path) {
    (void)Path;
}
void Tprog::swDelete(const WideString& Path) {
    (void)Path;
}
void Tprog::swRenameItem(const WideString& OldPath, const WideString& NewPath) {
    (void)OldPath;
    (void)NewPath;
}
void Tprog::swUpdateItem(const WideString& Path) {
    (void)Path;
}

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

// Keyed messages (u_prog_texts.cpp).
void Tprog::meldungzeigen(std::string_view key, WideStringView path) {
    (void)key;
    (void)path;
}

// Language texts (u_prog_texts.cpp).
void Tprog::sprachealles() {}
