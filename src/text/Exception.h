// The base of every exception the program raises itself: a message in UTF-8.
#pragma once

#include <stdexcept>
#include <string>

#include "text/WideTypes.h"

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    explicit Exception(WideStringView message) : std::runtime_error(U8(message)) {}
    std::string Message() const { return what(); }
};
