#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <variant>

#include "core/sqlite_db.h"

namespace velmora::core {

// The library file's identity and schema. PRAGMA application_id marks the
// file as this program's library; PRAGMA user_version is the schema version.
// Each version's change is one migration, run in order inside one
// transaction, so a file of any earlier version opens at the current one.
inline constexpr std::int32_t kLibraryApplicationId = 0x564C4252;  // "VLBR"

// Opens a library file after checking it, and migrates it to `version`
// (the current one unless a test asks for an older file). Either the open
// connection (WAL mode, the busy timeout set) or why the file was refused;
// a refused file is not changed.
std::variant<SqlDatabase, std::string> OpenLibraryDatabase(const std::filesystem::path& file,
                                                           std::chrono::milliseconds busyTimeout, int version = -1);

}  // namespace velmora::core
