#include "tests/support/temp_install.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

#include "tools/demodata/lib/demo_data.h"

namespace qd::testing {

namespace fs = std::filesystem;

TempInstall::TempInstall(Content content)
{
    std::string tmpl = (fs::temp_directory_path() / "qdtest-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_root = tmpl;
    fs::create_directories(path());
    fs::create_directories(driveC());
    // Drive "c:" of this process, and of every program it starts, is the test's own.
    if (const char *old = std::getenv("QUOTEDESK_DRIVE_C"))
        m_oldDriveC = old;
    ::setenv("QUOTEDESK_DRIVE_C", driveC().c_str(), 1);
    if (content == Content::Demo)
        qd::demo::writeDemoInstall(dir());
}

TempInstall::~TempInstall()
{
    std::error_code ec;
    fs::remove_all(m_root, ec);
    if (m_oldDriveC)
        ::setenv("QUOTEDESK_DRIVE_C", m_oldDriveC->c_str(), 1);
    else
        ::unsetenv("QUOTEDESK_DRIVE_C");
}

std::string readBytes(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const fs::path &p, const std::string &bytes)
{
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace qd::testing
