#pragma once

#include <cstddef>

// One row of the generated table of embedded archives (cmake/ZylEmbeddedArchives.cmake); the
// table ends with a row whose name is null. Only ZylEmbeddedArchive reads it.
struct ZylEmbeddedArchiveRow
{
    const char* name;
    const unsigned char* data;
    const std::size_t* size;
};

extern const ZylEmbeddedArchiveRow zylEmbeddedArchiveRows[];
