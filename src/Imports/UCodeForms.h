// The Unicode form: the class library's form is Unicode throughout.
#pragma once

#include "Imports/UCodeControls.h"
#include "platform/Forms.h"

using TUCodeForm = TForm;
