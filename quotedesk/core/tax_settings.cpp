#include "quotedesk/core/tax_settings.h"

#include <cstdint>

#include "platform/files/safe_replace.h"

namespace qd::core {

namespace {

void putLe(std::string &b, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint64_t getLe(std::string_view b, int offset, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(b[offset + i]);
    return v;
}

} // namespace

std::string encodeTaxSettings(const TaxSettings &s)
{
    std::string b;
    b.reserve(TAX_SETTINGS_LENGTH);
    putLe(b, static_cast<std::uint64_t>(s.ZEI_RITU.raw()), 8);
    putLe(b, static_cast<std::uint16_t>(s.HASU_TANI), 2);
    putLe(b, static_cast<std::uint16_t>(s.HASU_MODE), 2);
    putLe(b, static_cast<std::uint16_t>(s.ZEI_KBN), 2);
    b.append(48, ' ');
    b.push_back('\n');
    b.push_back('\r');
    return b;
}

TaxSettings decodeTaxSettings(std::string_view bytes)
{
    std::string b(bytes.substr(0, TAX_SETTINGS_LENGTH));
    b.resize(TAX_SETTINGS_LENGTH, ' ');
    TaxSettings s;
    s.ZEI_RITU = Fixed4::fromRaw(static_cast<std::int64_t>(getLe(b, 0, 8)));
    s.HASU_TANI = static_cast<std::int16_t>(getLe(b, 8, 2));
    s.HASU_MODE = static_cast<std::int16_t>(getLe(b, 10, 2));
    s.ZEI_KBN = static_cast<std::int16_t>(getLe(b, 12, 2));
    return s;
}

bool readTaxSettings(QdState &g)
{
    qd::records::SYOHIZEI_OPEN(g);
    const bool found = g.SYOHIZEI_CTL.recordCount >= 1;
    if (found)
        g.TAX_REC = decodeTaxSettings(g.SYOHIZEI_CTL.file.get(1));
    g.SYOHIZEI_CTL.close();
    return found;
}

void writeTaxSettings(QdState &g)
{
    qd::records::SYOHIZEI_OPEN(g); // creates a missing file, finds its path
    g.SYOHIZEI_CTL.close();
    const std::string path = g.SYOHIZEI_CTL.path;
    // Record 1 is replaced; what follows it stays.
    const auto length = static_cast<std::int64_t>(qd::files::replaceFileHead(path, encodeTaxSettings(g.TAX_REC)));
    g.SYOHIZEI_CTL.recordCount = qd::files::recordCountOf(length, TAX_SETTINGS_LENGTH);
    g.SYOHIZEI_CTL.fileLength = length;
    g.SYOHIZEI_CTL.currentRecord = 1;
}

} // namespace qd::core
