// The system maps fresh memory page by page as it is first written, one fault per page;
// asking for a whole range at once costs one call instead. Large texts that are about to
// be filled (a file decoded into its text) ask for their memory this way.
#pragma once

#include <cstddef>

// Has the pages wholly inside [begin, begin + bytes) mapped for writing now, where the
// system can; changes no byte and never fails (a system without the call maps them later).
void PrefaultForWriting(void* begin, std::size_t bytes);
