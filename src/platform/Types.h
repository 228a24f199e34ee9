// Small geometry and message-parameter types of the class library.
#pragma once

#include <cstdint>

#include "graphics/Geometry.h"

using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

inline uint16_t LOWORD(uintptr_t v) {
    return uint16_t(v & 0xFFFF);
}
inline uint16_t HIWORD(uintptr_t v) {
    return uint16_t((v >> 16) & 0xFFFF);
}
inline LPARAM MAKELPARAM(int lo, int hi) {
    return LPARAM(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16));
}
inline int GET_X_LPARAM(LPARAM l) {
    return int16_t(LOWORD(uintptr_t(l)));
}
inline int GET_Y_LPARAM(LPARAM l) {
    return int16_t(HIWORD(uintptr_t(l)));
}
