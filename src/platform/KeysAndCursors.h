// The Qt side of input: shift states, Windows virtual-key codes and mouse cursors.
#pragma once

#include <Qt>
#include <cstdint>

enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;

// The shift state of Qt's keyboard modifiers and mouse buttons.
TShiftState ShiftStateFromQt(int Modifiers, int Buttons = 0);
// The Windows virtual-key code of a Qt key; 0 for keys without one.
uint16_t VirtualKeyFromQt(int QtKey);

using TCursor = int;
enum : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};

// The Qt cursor shape of a cursor (the arrow for crDefault and unknown cursors).
Qt::CursorShape CursorShapeOf(TCursor Cursor);
