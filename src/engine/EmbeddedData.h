// Data files compiled into the program (the folder data/ of the source tree).
#pragma once

#include <optional>
#include <string_view>

// The bytes of the file with that path relative to data/ ("transliteration/index.txt"),
// or nothing when no such file was compiled in.
std::optional<std::string_view> EmbeddedDataFile(std::string_view path);
