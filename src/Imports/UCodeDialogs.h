// The Unicode dialogs, clipboard and canvas text.
#pragma once

#include "platform/CanvasText.h"
#include "platform/Clipbrd.h"
#include "platform/Dialogs.h"
