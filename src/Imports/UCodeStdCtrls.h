// The Unicode standard controls: the class library's controls are Unicode throughout.
#pragma once

#include "Imports/UCodeControls.h"
#include "platform/StdCtrls.h"

using TUCodeEdit = TEdit;
using TUCodeCustomEdit = TEdit;
using TUCodeMemo = TMemo;
using TUCodeCustomMemo = TMemo;
using TUCodeMemoStrings = TMemoStrings;
using TUCodeComboBox = TComboBox;
using TUCodeCustomComboBox = TComboBox;
using TUCodeComboBoxStrings = TComboBoxStrings;
using TUCodeLabel = TLabel;
using TUCodeCustomLabel = TLabel;
using TUCodeButton = TButton;
using TUCodeCheckBox = TCheckBox;
using TUCodeCustomCheckBox = TCheckBox;
using TUCodeRadioButton = TRadioButton;
using TUCodeScrollBar = TScrollBar;
using TUCodeGroupBox = TGroupBox;
using TUCodeCustomGroupBox = TGroupBox;
using TUCodeStaticText = TStaticText;
using TUCodeCustomStaticText = TStaticText;
