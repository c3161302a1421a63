// Temporary install folders for tests: an empty one or a copy of the demo data, with the
// drive "c:" mapped to a folder of its own (QUOTEDESK_DRIVE_C, which programs started by the
// test inherit). Removed, and the mapping restored, when the object goes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace qd::testing {

class TempInstall {
public:
    enum class Content { Empty, Demo };
    explicit TempInstall(Content content = Content::Demo);
    ~TempInstall();
    TempInstall(const TempInstall &) = delete;
    TempInstall &operator=(const TempInstall &) = delete;

    // The install folder as the programs hold it in INST_DIR.
    std::string dir() const { return m_root.string() + "/inst"; }
    std::filesystem::path path() const { return m_root / "inst"; }
    std::filesystem::path data() const { return path() / "data"; }
    std::filesystem::path driveC() const { return m_root / "drive_c"; }

private:
    std::filesystem::path m_root;
    std::optional<std::string> m_oldDriveC;
};

// Whole content of a host file as bytes ("" when missing).
std::string readBytes(const std::filesystem::path &p);
void writeBytes(const std::filesystem::path &p, const std::string &bytes);

} // namespace qd::testing
