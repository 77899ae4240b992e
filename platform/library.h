#pragma once
// Dynamic libraries loaded by absolute path: load, look up an entry by name, release.

#include <QString>

#include <memory>

namespace platform {

class Library {
public:
    // Loads the library at `absolutePath`. A relative path is refused (nullptr): the loader would
    // resolve it through the current directory, where a planted library could wait.
    static std::unique_ptr<Library> load(const QString& absolutePath);
    ~Library();  // releases the library, once

    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // The entry with exactly this name, or nullptr.
    void* entry(const char* name) const;

private:
    explicit Library(void* handle) : handle_(handle) {}
    void* handle_;
};

}  // namespace platform
