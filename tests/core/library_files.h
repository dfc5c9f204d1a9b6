#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/library.h"

namespace velmora::testing {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-library-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

inline std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A clock that stands still until moved.
struct StoppedClock {
    std::chrono::system_clock::time_point Now =
        std::chrono::sys_days{std::chrono::year{2024} / 3 / 1} + std::chrono::hours{12};
    core::UtcClock Clock() {
        return [this] { return Now; };
    }
};

inline std::unique_ptr<core::Library> OpenOrFail(const std::filesystem::path& file, core::LibraryOptions options = {}) {
    core::Library::Opening opening = core::Library::Open(file, std::move(options));
    EXPECT_TRUE(opening.Opened) << opening.Error;
    return std::move(opening.Opened);
}

}  // namespace velmora::testing
