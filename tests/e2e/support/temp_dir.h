#pragma once

#include <string>

namespace veltaro::e2e {

// A fresh directory under the temporary directory, removed with everything in it when the
// object goes. path() is empty when it could not be made. One thread.
class TempDir {
  public:
    explicit TempDir(const std::string& prefix = "veltaro-e2e");
    ~TempDir();

    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // A path inside the directory (not created).
    std::string File(const std::string& name) const { return m_path + "/" + name; }

  private:
    std::string m_path;
};

}  // namespace veltaro::e2e
