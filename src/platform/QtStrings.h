// Wide text at the widget edge: QString holds UTF-16, so the conversion keeps every unit.
#pragma once

#include <QString>

#include "text/WideTypes.h"

inline QString Q(WideStringView S) {
    return QString::fromUtf16(S.data(), qsizetype(S.size()));
}
inline WideString W(const QString& S) {
    return S.toStdU16String();
}
