// The folder dialog as the program shows it: Qt's own file dialog, set up so that it
// never reads what an entry holds. Its model types and draws entries by their names
// only (the standard icon provider reads a file's first bytes to find its type, and a
// read of /proc/kmsg or of a FIFO no one writes never returns), and it lists data files
// and data folders only (WideFileSystem.h): /proc, /sys, FIFOs, sockets, devices and
// links that lead nowhere are left out.
#pragma once

#include <QFileDialog>
#include <memory>

#include "text/WideTypes.h"

// The dialog for the browse flags (ShellServices.h: BIF_...), owned by Owner, showing
// Title. It opens in Start's folder with Start selected when Start is a data folder (its
// name selected in the name field, so a typed path replaces it), else in Root (the whole
// file system when Root is empty).
std::unique_ptr<QFileDialog> MakeFolderDialog(const WideString& Title, const WideString& Root,
                                              const WideString& Start, unsigned BrowseFlags,
                                              QWidget* Owner);
