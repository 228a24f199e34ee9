// The interface language of the whole program: "de" German, any other value English.
// Its design value is "de". The start window sets it (marker files, menu, configuration)
// and shows it in its hidden label `spr`;
// every window's language routine reads it. The regular-expression messages follow it as
// well, with their own rule (English only for "en").
#pragma once

#include "text/WideTypes.h"

extern WideString LanguageCode;

// The windows' rule: German only for exactly "de".
inline bool LanguageIsGerman() {
    return LanguageCode == u"de";
}
