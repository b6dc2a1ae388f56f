// One fresh temporary folder for a test, removed with everything in it when
// the object goes. Every test that needs a folder of its own (a registry
// file, a runtime folder) takes one of these.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

class TempFolder {
public:
    // Makes <base>/<prefix>-XXXXXX; path() is empty when it could not be made.
    explicit TempFolder(const std::string& prefix,
                        const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::string pattern = (base / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
