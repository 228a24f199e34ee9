// The record of the last regular-expression error and the error texts.
#pragma once

#include <functional>

#include "text/WideTypes.h"

struct TRegExFehlerStatus {
    bool Ok = true;     // no error since the last reset
    WideString Message; // text of the last error
    int Position = 0;   // zero-based index in the expression (0 outside compilation)
};

// One record for every engine of the process.
extern TRegExFehlerStatus RegExFehlerStatus;

// The language of the error texts: English when this returns "en", German
// otherwise. The start window installs its language control here.
extern std::function<WideString()> RegExLanguageCode;

// The text of an error code in English or German.
WideString RegExErrorText(int code, bool english);
