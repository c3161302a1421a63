// The sales rate, cost rate and rate kind of a product put into the sheet: from the rate field
// of the document header, else from that of the own-company record. A value from 1 to 10 is a
// rate rank (the rank's pair of rates in the product's kind-2 record, or its kind-1 record
// where the kind-2 record holds none); a value above 10 is a percentage for both rates; with
// neither both rates are 100 %.
#pragma once

#include "quotedesk/core/qd_state.h"

namespace qd::core {

// Reads record 1 of "\data\SYSF.SSS" into SYSF_REC with its record count (the file closed
// again). A product entry runs it before every RATE_SELECT, so that the own-company rate is
// the one in the file, whatever was read before (a print run reads the record too): one
// product, one price. Throws qd::files::FileError when the file cannot be read.
void readOwnCompany(QdState &g);

// Reads HEAD_REC / HEAD_CTL, SYSF_REC / SYSF_CTL, HISYU2_REC and HISYU1_REC as they stand in
// memory (opens no file) and sets RATE_VALUE, LINE_WORK.GENKA_RITU and LINE_WORK.RITU_KBN.
// A header field of at least 1 wins; the own-company field counts only below that. A buffer
// whose file holds no record counts as blank, whatever it was last filled with.
void RATE_SELECT(QdState &g);

// Rank lookup with the header field / the own-company field.
void RATE_BY_DOCUMENT(QdState &g);
void RATE_BY_OWN_DATA(QdState &g);
// Percentage from the header field / the own-company field, for both rates.
void RATE_PERCENT_DOCUMENT(QdState &g);
void RATE_PERCENT_OWN(QdState &g);

} // namespace qd::core
