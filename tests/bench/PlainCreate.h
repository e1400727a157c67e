// The file-system calls the confirm step makes for one new file, and nothing
// else: the baseline of the confirm step's timings on both backends.
#pragma once

#include <string>

#include "Backend.h"
#include "Utils.h"

inline void PlainCreate(const std::string& path, const std::string& tmpl) {
    if (plat::FileExists(path)) return;
    std::string dir = ExtractFileDir(path);
    if (!plat::DirectoryExists(dir)) plat::ForceDirectories(dir);
    if (plat::FileExists(tmpl)) {
        std::uint64_t now = plat::SystemTimeAsFileTime();
        plat::CopyFileReplace(tmpl, path);
        plat::SetFileTimes(path, now);
    } else {
        plat::CreateEmptyFile(path);
    }
}
