// Hot-key routines of the Unicode menus.
#pragma once

#include "platform/CaptionText.h"
