#pragma once

#include <string>

#include "core/library.h"

namespace velmora::core {

// One birth of the library as the tool's --list writes it: a compact JSON
// object {"id", "name", "date", "time", "place", "tags", "notes",
// "changed"} (tags an array of texts), with no line break.
std::string LibraryRowJson(const LibraryRow& row);

}  // namespace velmora::core
