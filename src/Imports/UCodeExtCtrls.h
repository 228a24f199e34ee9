// The Unicode extra controls.
#pragma once

#include "Imports/UCodeControls.h"
#include "platform/ExtCtrls.h"

using TUCodeImage = TImage;
using TUCodePanel = TPanel;
