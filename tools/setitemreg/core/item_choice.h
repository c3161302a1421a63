// The chain of lists through which a component is chosen: major class, class and colour, kind 1
// and kind 2, section, and the price lines of one list-price file. Each line keeps the record it
// was made from, so a choice takes its codes from that record and never parses them out of the
// text. The masters are read whole when a list is filled and never created or written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/layouts.h"
#include "tools/setitemreg/core/sethin_state.h"

namespace qd::setitemreg {

struct ChoiceLine {
    std::string text;
    std::int32_t recordNo = 0;
    qd::records::Record rec;
};

// The master files of the data folder, read whole (a missing one has no records); a file that
// ends in a part of a record gives its whole records and is noted in partialNotes.
std::vector<qd::records::Record> readMaster(SethinState &g, const std::string &fileName,
                                            const qd::records::Layout &layout);
// "HISYU1" / "HISYU2" & Format(SEL_MAKER, "00") & ".TXT"; no records for a major class beyond 0..99.
std::vector<qd::records::Record> readKindFile(SethinState &g, int kind);

// List2: every major class, MAKER_CD & " " & NAME (20).
std::vector<ChoiceLine> majorLines(SethinState &g);
// List5: every section, CIHO_CD & " " & NAME (20) & Format(R, "0000").
std::vector<ChoiceLine> sectionLines(SethinState &g);
// List1: the classes of SEL_MAKER, BUNRUI_CD & " " & NAME (20) & 5 blanks & Format(R, "00000").
std::vector<ChoiceLine> classLines(SethinState &g);
// List7: the colours of SEL_MAKER, IRO_CD & " " & NAME (20) & Format(R, "0000").
std::vector<ChoiceLine> colourLines(SethinState &g);
// List3: the kind-1 records of SEL_MAKER and SEL_BUNRUI (not "0000"),
// HINSYU1_CD & " " & NAME (36) & 15 blanks & Format(R, "000000").
std::vector<ChoiceLine> kind1Lines(SethinState &g);
// List4: the kind-2 records of SEL_MAKER and SEL_BUNRUI (not "0000") whose code begins with the
// two characters of the chosen kind 1, HINSYU2_CD & " " & NAME (32) & 15 blanks & Format(R, "000000").
std::vector<ChoiceLine> kind2Lines(SethinState &g, const qd::records::Record &kind1);
// List6: the lines of the list-price file PRICE_FILE_KEY of SEL_MAKER, SEL_BUNRUI, SEL_HINSYU2 and
// SEL_CIHO, KIGO (25) & " " & BIKO (50) & 30 blanks & Format(R, "000000").
std::vector<ChoiceLine> priceLines(SethinState &g);

// The choices: each takes its value from the chosen line's record.
// SEL_MAKER; SEL_IRO := 0, since the colours listed now are the new major class's and none of
// them is chosen yet.
void majorChosen(SethinState &g, const ChoiceLine &line);
void classChosen(SethinState &g, const ChoiceLine &line);   // SEL_BUNRUI
void kind1Chosen(SethinState &g, const ChoiceLine &line);   // SEL_HINSYU1
void kind2Chosen(SethinState &g, const ChoiceLine &line);   // SEL_HINSYU2
// SEL_CIHO, then PRICE_FILE_KEY_SET.
void sectionChosen(SethinState &g, const ChoiceLine &line);
void colourChosen(SethinState &g, const ChoiceLine &line);  // SEL_IRO
void priceLineChosen(SethinState &g, const ChoiceLine &line); // SEL_KIGO, SEL_BIKO

// PRICE_FILE_KEY := Format(SEL_MAKER, "00") & Format(SEL_BUNRUI, "00") & Format(SEL_HINSYU1, "0000").
void PRICE_FILE_KEY_SET(SethinState &g);
// The list-price file named by PRICE_FILE_KEY; empty when the key is not eight digits.
std::string priceFileOfKey(SethinState &g);

} // namespace qd::setitemreg
