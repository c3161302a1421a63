// The byte layouts of the master files and of the single-record files every program shares.
// Each record type has a field enum (in layout order) and its layout table.
#pragma once

#include "records/record.h"

namespace qd::records {

// "\data\MAKER.TXT", 32 bytes: major classes. Code "00" marks a deleted record.
namespace MajorClass {
enum Field { MAKER_CD, NAME, FILLER };
const Layout &layout();
}

// "\data\CIHO.TXT", 32 bytes: sections. DEL_MARK "000000" marks a deleted record.
namespace Section {
enum Field { CIHO_CD, NAME, DEL_MARK };
const Layout &layout();
}

// "\data\BUNRUI.TXT", 32 bytes: classes under a major class. BUNRUI_CD "00" marks a deleted record.
namespace Class {
enum Field { MAKER_CD, BUNRUI_CD, NAME, FILLER };
const Layout &layout();
}

// "\data\IRO.TXT", 32 bytes: colours under a major class.
namespace Color {
enum Field { MAKER_CD, IRO_CD, NAME, FILLER };
const Layout &layout();
}

// Rate slots of the kind records: slot k = 1..20; odd k the sales rate URI_RATE_nn with
// nn = (k + 1) / 2, even k the purchase rate SIIRE_RATE_nn with nn = k / 2. Stored as
// percent x 100 in "00000"; blank = no rate.
constexpr int RateSlots = 20;

// "\data\HISYU1nn.TXT", 256 bytes: kind-1 product groups with their rates.
namespace Kind1 {
enum Field { MAKER_CD, BUNRUI_CD, HINSYU1_CD, NAME, RATE_FIRST, RATE_LAST = RATE_FIRST + RateSlots - 1, FILLER };
constexpr int rateSlot(int k) { return RATE_FIRST + k - 1; }
constexpr int uriRate(int rank) { return rateSlot(2 * rank - 1); }
constexpr int siireRate(int rank) { return rateSlot(2 * rank); }
const Layout &layout();
}

// "\data\HISYU2nn.TXT", 256 bytes: kind-2 products with their rates.
namespace Kind2 {
enum Field { MAKER_CD, BUNRUI_CD, HINSYU2_CD, NAME, RATE_FIRST, RATE_LAST = RATE_FIRST + RateSlots - 1, FILLER };
constexpr int rateSlot(int k) { return RATE_FIRST + k - 1; }
constexpr int uriRate(int rank) { return rateSlot(2 * rank - 1); }
constexpr int siireRate(int rank) { return rateSlot(2 * rank); }
const Layout &layout();
}

// List-price files "\data\" + MAKER_CD + BUNRUI_CD + KK + "00" + ".txt", 600 bytes.
constexpr int PriceSlots = 20;
constexpr int PriceGroups = 4;
namespace Price {
enum Field {
    MAKER_CD, BUNRUI_CD, HINSYU2_CD, CIHO_CD, KIGO, KOSYO, W_MIRI, H_MIRI, W_SYAKU, H_SYAKU,
    SLOT_FIRST, // IRO_CD_01, TANKA_01, IRO_CD_02, ...
    GRP_FIRST = SLOT_FIRST + 2 * PriceSlots, // GRP_1_TEXT, GRP_1_CD, GRP_1_VAL_A, GRP_1_VAL_B, GRP_1_KBN, GRP_2_TEXT ...
    BIKO = GRP_FIRST + 5 * PriceGroups,
    FILLER
};
constexpr int iroCd(int s) { return SLOT_FIRST + 2 * (s - 1); }
constexpr int tanka(int s) { return SLOT_FIRST + 2 * (s - 1) + 1; }
constexpr int grpText(int g) { return GRP_FIRST + 5 * (g - 1); }
const Layout &layout();
}

// "\data\TANPIN.TXT" (and its work copy "\data\WTANPIN.TXT"), 128 bytes: single items.
// TANPIN_CD "0000" marks a deleted record.
namespace Item {
enum Field { TANPIN_CD, NAME, TANKA, GENKA, FILLER };
const Layout &layout();
}

// Set files "\data\SET" + Format(set code, "00000") + ".TXT", 160 bytes: one component of a
// set. SET_NAME is the set's name, the same in every record; KIGO and BIKO are those of the
// component's price line; IRO_CD its colour ("00"), SURYO its quantity per set ("00000").
namespace SetItem {
enum Field { SET_NAME, MAKER_CD, BUNRUI_CD, HINSYU2_CD, CIHO_CD, KIGO, BIKO, IRO_CD, SURYO, FILLER };
const Layout &layout();
}

// "\ALMI\GARASU.TXT", 64 bytes: the glass master, a unit price and a cost per glass, kept by
// glassmaint. GARASU_CD "00" marks a deleted glass.
namespace Glass {
enum Field { GARASU_CD, NAME, TANKA, GENKA, FILLER };
const Layout &layout();
}

// "\data\TOKF.SSS", 64 bytes: business partners.
namespace Partner {
enum Field { TOKUI_CD, NAME, FILLER };
const Layout &layout();
}

// "\data\SYSF.SSS", 512 bytes, record 1: the company's own data. No "," between KAKERITU
// and TOUROKU_NO, none after the fourth bank-transfer line.
namespace OwnCompany {
enum Field { JISYA_NAME, JUSYO_1, JUSYO_2, YUBIN_NO, TEL_NO, FAX_NO, KAKERITU, TOUROKU_NO,
             FURIKOMI_1, FURIKOMI_2, FURIKOMI_3, FURIKOMI_4, FILLER };
const Layout &layout();
}

// "c:\tamo\tamo_dir.SSS", 768 bytes, record 1, written outside the system; no "," fields.
namespace InstallDir {
enum Field { DOC_NAME, INSTALL_DIR, FILLER, END_1, END_2 };
const Layout &layout();
}

// Job documents: header file (name + ".SSS") record 1, 256 bytes.
namespace DocHeader {
enum Field { TOKUI_NAME, BUKKEN_NAME, NOUHIN_BASYO, SIHARAI_JOKEN, NOUKI, YUKO_KIGEN, KAKERITU, FILLER };
const Layout &layout();
}

// Job documents: line file (name + ".TXT"), one 1024-byte record per sheet row; field i
// (0-based) holds sheet column i + 1.
namespace DocLine {
enum Field { HIDUKE, HINMEI, KOSYO, W_MIRI, H_MIRI, D_MIRI, M2_TANKA, IRO_NAME, SURYO, TANI,
             RITU_KBN, KAKERITU, TEIKA, TANKA, KINGAKU, BIKO, GENKA_RITU, GENKA, GENKA_KINGAKU,
             ARARI, HACHU_HINBAN, HINBAN, ZEI_RITU, ZEI_GAKU, FILLER };
const Layout &layout();
}

} // namespace qd::records
