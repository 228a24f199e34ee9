#include "dialogs/LanguageCode.h"

WideString LanguageCode = u"de";
