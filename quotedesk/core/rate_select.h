// The sales rate, cost rate and rate kind of a product put into the sheet: from the rate field
// of the document header, else from that of the own-company record. A value from 1 to 10 is a
// rate rank (the rank's pair of rates in the product's kind-2 record, or its kind-1 record
// where the kind-2 record holds none); a value above 10 is a percentage for both rates; with
// neither both rates are 100 %.
#pragma once

#include "quotedesk/core/qd_state.h"

namespace qd::core {

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
