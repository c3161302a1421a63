#include "tests/support/price_data.h"

#include <algorithm>
#include <string>

#include "platform/text/numbers.h"
#include "records/layouts.h"
#include "tests/support/temp_install.h"

namespace qd::testing {

using namespace qd::records;
using qd::text::format;

std::vector<std::string> writePriceData(const std::filesystem::path &data, const PriceDataShape &shape)
{
    std::filesystem::create_directories(data);
    std::vector<std::string> names;
    std::string makers;
    for (int m = 1; m <= shape.majors; ++m) {
        Record mk(MajorClass::layout());
        mk.setSeparators();
        mk.setText(MajorClass::MAKER_CD, format(m, "00"));
        mk.setText(MajorClass::NAME, "大分類" + std::to_string(m));
        makers += mk.bytes();

        std::string kinds;
        for (int k = 0; k < shape.kindsPerMajor; ++k) {
            const int cls = k / 10 + 1, kk = k % 10 + 10;
            Record k1(Kind1::layout());
            k1.setSeparators();
            k1.setText(Kind1::MAKER_CD, format(m, "00"));
            k1.setText(Kind1::BUNRUI_CD, format(cls, "00"));
            k1.setText(Kind1::HINSYU1_CD, format(kk, "00") + "00");
            k1.setText(Kind1::NAME, "品種" + std::to_string(k));
            kinds += k1.bytes();

            std::string prices;
            prices.reserve(static_cast<std::size_t>(shape.linesPerFile) * 600);
            Record p(Price::layout());
            for (int r = 1; r <= shape.linesPerFile; ++r) {
                p.clearFields();
                p.setSeparators();
                p.setText(Price::MAKER_CD, format(m, "00"));
                p.setText(Price::BUNRUI_CD, format(cls, "00"));
                p.setText(Price::HINSYU2_CD, format(kk, "00") + "01");
                p.setText(Price::CIHO_CD, "01");
                // One line a file carries the text searched for.
                p.setText(Price::KIGO, (r == 250 ? "SPECIAL-" : "P") + std::to_string(m * 1000 + k) + "-" +
                                           std::to_string(r));
                p.setText(Price::KOSYO, format(r, "00000"));
                p.setNumber(Price::W_MIRI, 16900, "00000");
                p.setNumber(Price::H_MIRI, 11700, "00000");
                for (int s = 1; s <= 5; ++s) {
                    p.setNumber(Price::iroCd(s), s, "000");
                    p.setNumber(Price::tanka(s), 10000 + 100 * r + s, "0000000");
                }
                p.setText(Price::BIKO, "網戸別途");
                prices += p.bytes();
            }
            names.push_back(format(m, "00") + format(cls, "00") + format(kk, "00") + "00.TXT");
            writeBytes(data / names.back(), prices);
        }
        writeBytes(data / ("HISYU1" + format(m, "00") + ".TXT"), kinds);
    }
    writeBytes(data / "MAKER.TXT", makers);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace qd::testing
