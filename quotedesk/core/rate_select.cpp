#include "quotedesk/core/rate_select.h"

#include <string>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"

namespace qd::core {

namespace {

using qd::text::format;
using qd::text::trim;
using qd::text::valFixed;
namespace rec = qd::records;

std::string work(std::string_view text, std::size_t width) { return qd::text::fixedChars(text, width); }

// The number a field holds; blanks or text that is no number read as 0.
Fixed4 num(std::string_view s) { return valFixed(trim(s)); }

// The rate field of the header and of the own-company record as stored (trailing blanks kept).
// A buffer whose file holds no record is stale (it belongs to another document or was never
// read), so it counts as blank.
std::string headerField(const QdState &g)
{
    return g.HEAD_CTL.recordCount > 0 ? g.HEAD_REC.text(rec::DocHeader::KAKERITU) : std::string();
}

std::string ownField(const QdState &g)
{
    return g.SYSF_CTL.recordCount > 0 ? g.SYSF_REC.text(rec::OwnCompany::KAKERITU) : std::string();
}

// Defaults written as the number-to-text conversion writes non-negative numbers.
const std::string kRateDefault = qd::text::str(100); // " 100"
const std::string kKindNone = qd::text::str(0);      // " 0"

void defaults(QdState &g)
{
    g.RATE_VALUE = Fixed4::fromInt(100);
    g.LINE_WORK.GENKA_RITU = work(kRateDefault, 6);
    g.LINE_WORK.RITU_KBN = work(kKindNone, 6);
}

// A rate slot's percent: the slot holds hundredths of a percent (06500 = 65.00 %), taken to
// two decimals (halves away from zero) in one step.
Fixed4 slotPercent(Fixed4 v) { return Fixed4::fromRaw(v.rounded(0).raw() / 100); }

void rankLookup(QdState &g, const std::string &field)
{
    LineWork &w = g.LINE_WORK;
    w.RITU_KBN = work(trim(field), 6);
    const Fixed4 n = num(field);
    const bool whole = n.raw() % Fixed4::Scale == 0 && n >= Fixed4::fromInt(1) && n <= Fixed4::fromInt(10);
    if (!whole)
        return; // a rank such as 1.5 names no pair: only the rank text is set
    const int rank = static_cast<int>(n.fix());

    // The kind-2 and the kind-1 record are tried separately for the sales and the cost rate.
    const Fixed4 zero;
    Fixed4 v = num(g.HISYU2_REC.text(rec::Kind2::uriRate(rank)));
    if (v == zero)
        v = num(g.HISYU1_REC.text(rec::Kind1::uriRate(rank)));
    g.RATE_VALUE = v != zero ? slotPercent(v) : Fixed4::fromInt(100);

    w.RITU_KBN = work(trim(field), 6);
    v = num(g.HISYU2_REC.text(rec::Kind2::siireRate(rank)));
    if (v == zero)
        v = num(g.HISYU1_REC.text(rec::Kind1::siireRate(rank)));
    if (v == zero) {
        w.RITU_KBN = work(kKindNone, 6);
        w.GENKA_RITU = work(kRateDefault, 6);
        return;
    }
    w.GENKA_RITU = work(format(slotPercent(v), "##0.00"), 6);
}

} // namespace

void RATE_BY_DOCUMENT(QdState &g) { rankLookup(g, headerField(g)); }
void RATE_BY_OWN_DATA(QdState &g) { rankLookup(g, ownField(g)); }

void readOwnCompany(QdState &g)
{
    qd::records::SYSF_OPEN(g);
    qd::records::CloseOnExit closer{g.SYSF_CTL};
    qd::records::SYSF_REC_CLEAR(g);
    if (g.SYSF_CTL.recordCount >= 1)
        g.SYSF_CTL.get(1, g.SYSF_REC);
}

void RATE_PERCENT_DOCUMENT(QdState &g)
{
    const std::string h = headerField(g);
    // Rounded once, from the field as typed, to two decimals: 12.34499 is 12.34.
    g.RATE_VALUE = valFixed(format(qd::text::val(trim(h)), "##0.00"));
    g.LINE_WORK.GENKA_RITU = work(qd::text::leftChars(h, 6), 6);
}

void RATE_PERCENT_OWN(QdState &g)
{
    const std::string o = ownField(g);
    g.RATE_VALUE = num(o);
    g.LINE_WORK.GENKA_RITU = work(qd::text::leftChars(o, 6), 6);
}

void RATE_SELECT(QdState &g)
{
    const Fixed4 zero, one = Fixed4::fromInt(1), ten = Fixed4::fromInt(10);
    const Fixed4 h = num(headerField(g));
    const Fixed4 o = num(ownField(g));

    // Neither field gives a rate: 100 % for both.
    if (h == zero && o == zero) {
        defaults(g);
        return;
    }
    if (h >= one && h <= ten) {
        RATE_BY_DOCUMENT(g);
        return;
    }
    if (h > ten) {
        RATE_PERCENT_DOCUMENT(g);
        g.LINE_WORK.RITU_KBN = work(kKindNone, 6);
        return;
    }
    if (o >= one && o <= ten) {
        RATE_BY_OWN_DATA(g);
        return;
    }
    if (o > ten) {
        RATE_PERCENT_OWN(g);
        g.LINE_WORK.RITU_KBN = work(kKindNone, 6);
        return;
    }
    // Both below 1 and not both zero (a fraction, a negative value): the rates stay as they were.
}

} // namespace qd::core
