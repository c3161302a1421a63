#include "quotedesk/entry/text_search.h"

#include <cstring>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/entry/master_reads.h"

namespace qd::entry {

namespace {

namespace Mc = qd::records::MajorClass;
namespace K1 = qd::records::Kind1;
namespace P = qd::records::Price;

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool inRange(std::int64_t v, std::int32_t from, std::int32_t to) { return from == 0 || (v >= from && v <= to); }

// A search text as the fields hold it: trimmed, in code page 932. A text with a character code
// page 932 cannot hold matches nothing.
struct Needle {
    bool given = false;
    bool matchable = false;
    std::string bytes;
};

Needle needleOf(const std::string &field)
{
    Needle n;
    const std::string t = qd::text::trim(field);
    n.given = !t.empty();
    n.bytes = qd::text::toCp932(t);
    n.matchable = n.given && qd::text::fromCp932(n.bytes) == t;
    return n;
}

} // namespace

int cp932Find(std::string_view field, std::string_view needle)
{
    if (needle.empty() || needle.size() > field.size())
        return 0;
    int chars = 0;
    for (std::size_t i = 0; i + needle.size() <= field.size();) {
        ++chars;
        if (std::memcmp(field.data() + i, needle.data(), needle.size()) == 0)
            return chars;
        i += isLeadByte(static_cast<unsigned char>(field[i])) ? 2 : 1;
    }
    return 0;
}

void SERCH_TXT_001(QdState &g, SearchView &view)
{
    view.clearHits();
    openFormMasters(g);
    const Needle symbol = needleOf(g.LINE_WORK.HACHU_HINBAN);
    const Needle designation = needleOf(g.LINE_WORK.KOSYO);

    const std::int32_t majors = shownRecordCount(g, g.MAKER_CTL);
    for (std::int32_t m = 1; m <= majors; ++m) {
        g.MAKER_CTL.get(m, g.MAKER_REC);
        g.MAJOR_NO = static_cast<std::int16_t>(g.MAKER_REC.number(Mc::MAKER_CD));
        HISYU1_OPEN_READ(g);
        qd::records::CloseOnExit kindCloser{g.HISYU1_CTL};
        g.SEARCH_COUNT = 0;

        const std::int32_t kinds = shownRecordCount(g, g.HISYU1_CTL);
        for (std::int32_t k = 1; k <= kinds; ++k) {
            g.HISYU1_CTL.get(k, g.HISYU1_REC);
            const qd::records::Record &kind = g.HISYU1_REC;
            const auto file = searchPriceFile(kind);
            if (file && inRange(kind.number(K1::MAKER_CD), g.MAJOR_FROM, g.MAJOR_TO) &&
                inRange(kind.number(K1::BUNRUI_CD), g.CLASS_FROM, g.CLASS_TO) &&
                inRange(kind.number(K1::HINSYU1_CD), g.KIND1_FROM, g.KIND1_TO)) {
                g.TANKA_NAME = *file;
                qd::records::TANKA_OPEN_READ(g);
                qd::records::CloseOnExit priceCloser{g.TANKA_CTL};
                view.showFile(qd::text::trim(g.TANKA_NAME));

                const std::int32_t lines = shownRecordCount(g, g.TANKA_CTL);
                for (std::int32_t r = 1; r <= lines; ++r) {
                    g.TANKA_CTL.get(r, g.TANKA_REC);
                    ++g.SEARCH_COUNT;
                    view.letEventsRun();
                    if (g.SEARCH_STOP == 9)
                        break; // the record just read is not compared
                    if (g.SEARCH_COUNT % 100 == 0)
                        view.showCount(qd::text::format(g.SEARCH_COUNT, "#####0"));

                    // 記号 alone searches the symbol; with a 呼称 the designation decides.
                    g.SEARCH_HIT = 0;
                    if (symbol.given) {
                        if (!designation.given)
                            g.SEARCH_HIT = symbol.matchable
                                               ? static_cast<std::int16_t>(cp932Find(g.TANKA_REC.raw(P::KIGO), symbol.bytes))
                                               : 0;
                        else
                            g.SEARCH_HIT = designation.matchable ? static_cast<std::int16_t>(cp932Find(
                                                                       g.TANKA_REC.raw(P::KOSYO), designation.bytes))
                                                                 : 0;
                    }
                    if (g.SEARCH_HIT != 0) {
                        g.TANKA_REC.setText(P::BIKO, nameField(g.TANKA_REC, P::BIKO));
                        view.addHit(priceLine(g.TANKA_REC, r, g.TANKA_NAME));
                    }
                }
            }
            view.letEventsRun();
            if (g.SEARCH_STOP == 9)
                return; // the closers close the price and kind-1 files
        }
    }
}

} // namespace qd::entry
