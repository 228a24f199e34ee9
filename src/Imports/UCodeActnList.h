// The Unicode actions: the class library's actions are Unicode throughout.
#pragma once

#include "platform/ActnList.h"
