// Standard controls: labels, static texts, edits, memos, combo boxes, buttons,
// check boxes, radio buttons, group boxes and scroll bars.
#pragma once

#include "platform/Buttons.h"
#include "platform/ComboBoxes.h"
#include "platform/Edits.h"
#include "platform/GroupBoxes.h"
#include "platform/Labels.h"
#include "platform/ScrollBars.h"
