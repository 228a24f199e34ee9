// The language of the toolkit's own texts: the labels and buttons that Qt puts into the
// file and folder dialogs ("Look in:", "Cancel", "Choose") and the type names of files
// that the input lists show. The program's language switch sets it with its own texts.
#pragma once

#include "text/WideTypes.h"

// "de" German, any other code English: Qt's translation of that language (from the
// system's Qt translations, when installed) replaces the one loaded before, and file type
// names come in that language. Numbers and dates keep the user's locale.
void SetToolkitLanguage(WideStringView Code);
