// The Unicode menus: the class library's menus with the hot-key routines of wide captions.
#pragma once

#include "platform/CaptionText.h"
#include "platform/Menus.h"
