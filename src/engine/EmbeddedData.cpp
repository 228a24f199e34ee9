#include "engine/EmbeddedData.h"

#include <cstddef>

// Defined in the source that the build generates from data/ (cmake/EmbedData.cmake).
struct EmbeddedFileEntry {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};
extern const EmbeddedFileEntry kEmbeddedFiles[];

std::optional<std::string_view> EmbeddedDataFile(std::string_view path) {
    for (const EmbeddedFileEntry* e = kEmbeddedFiles; e->name; ++e)
        if (path == e->name)
            return std::string_view(reinterpret_cast<const char*>(e->data), e->size);
    return std::nullopt;
}
