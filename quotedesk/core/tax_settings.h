// The common consumption-tax settings: record 1 of "\data\syohizei_calc.fil", 64 bytes holding
// the rate as a little-endian 64-bit fixed-point value, the rounding unit, the rounding mode and
// the inclusive/exclusive mode as little-endian 16-bit values, 48 blanks, then LF CR.
#pragma once

#include <string>
#include <string_view>

#include "quotedesk/core/qd_state.h"

namespace qd::core {

inline constexpr int TAX_SETTINGS_LENGTH = 64;

// The 64 bytes of a settings record (48 blanks, LF, CR after the numbers).
std::string encodeTaxSettings(const TaxSettings &s);
// The numbers of a settings record; the end bytes are never looked at. Bytes missing at the
// end of a short record read as blanks, as a record read past the end of its file does.
TaxSettings decodeTaxSettings(std::string_view bytes);

// SYOHIZEI_OPEN, record 1 into TAX_REC when the file holds one, file closed. Returns whether a
// record was read (TAX_REC is unchanged otherwise). Throws qd::files::FileError when the file
// cannot be opened.
bool readTaxSettings(QdState &g);

// Writes TAX_REC as record 1 of the settings file (created when missing). The file is rewritten
// through a work copy, so a failure leaves the old settings intact; bytes after record 1, if a
// file ever holds any, are kept. Throws qd::files::FileError on failure.
void writeTaxSettings(QdState &g);

} // namespace qd::core
