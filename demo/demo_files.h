// Where the demo writes: folders below a host root found without regard to case (the handheld
// ignores case, so an existing "my documents" is My Documents), every file written whole under a
// temporary name and renamed into place, files that already exist kept as they are.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace demo {

class DemoFiles {
  public:
    explicit DemoFiles(std::filesystem::path root) : root_(std::move(root)) {}

    // The host path of `relative` ('/'-separated) below the root.
    std::filesystem::path Resolve(std::string_view relative) const;
    bool Exists(std::string_view relative) const;
    // True when a folder on the way to `relative` is a link out of the root (My Pictures may
    // point at the user's own pictures folder, which the demo must not fill).
    bool LeavesRoot(std::string_view relative) const;
    // Writes `bytes` with the modification time `mtime` unless the file exists. False, with the
    // first error kept for Error(), when it could not be written.
    bool Write(std::string_view relative, std::span<const std::uint8_t> bytes, std::time_t mtime);
    // Creates the folder (and its parents).
    bool MakeFolder(std::string_view relative);
    // Records a failure that is not a write (an encoder's, say); the first one is kept.
    void Fail(const std::string& message);

    const std::string& Error() const { return error_; }
    int Written() const { return written_; }

  private:
    std::filesystem::path root_;
    std::string error_;
    int written_ = 0;
};

}  // namespace demo
