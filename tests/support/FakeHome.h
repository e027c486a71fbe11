#pragma once

#include "TempDir.h"

#include <filesystem>
#include <string>

// A home folder of its own for one test, laid out file by file as the test says: prefixes,
// launchers' configuration files and symbolic links, each at a path relative to the home.
class FakeHome {
public:
    const std::filesystem::path& Path() const { return m_dir.Path(); }
    // The absolute path of a place in the home.
    std::string At(const std::string& relative) const;

    // A folder with an empty system.reg and user.reg; returns its absolute path.
    std::string Prefix(const std::string& relative) const;
    // A file with these bytes, and the folders it needs.
    void Write(const std::string& relative, const std::string& bytes) const;
    // A symbolic link at relative to target (absolute, or relative to the link's folder).
    void Link(const std::string& relative, const std::string& target) const;

private:
    TempDir m_dir;
};
