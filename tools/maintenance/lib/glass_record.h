// The glass master "\ALMI\GARASU.TXT": 64-byte records of one glass each, written and read by
// glassmaint only. GARASU_CD "00" marks a deleted glass.
#pragma once

#include "records/record.h"

namespace qd::maint {

namespace Glass {
enum Field { GARASU_CD, NAME, TANKA, GENKA, FILLER };
const qd::records::Layout &layout();
} // namespace Glass

} // namespace qd::maint
