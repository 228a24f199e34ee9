// The Unicode common controls: list view, page control, status bar and image lists.
#pragma once

#include "Imports/UCodeControls.h"
#include "platform/ComCtrls.h"
#include "platform/ImageLists.h"
#include "platform/ListViews.h"
#include "platform/PageControls.h"
#include "platform/StatusBars.h"
