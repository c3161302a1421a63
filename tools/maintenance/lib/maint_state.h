// The globals of a maintenance tool, under their own names. A tool's window holds one of these,
// so a test that makes a new window starts from a fresh state.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "records/layouts.h"
#include "records/record.h"
#include "records/whole_file.h"

namespace qd::maint {

// The list-type tools (groupmaint, sectmaint, classmaint, colormaint, itemmaint, glassmaint,
// partnermaint).
struct MaintState {
    explicit MaintState(const qd::records::Layout &master) : REC(master) {}

    std::int32_t REC_COUNT = 0;  // records in the master at its last reading
    std::int32_t CUR_REC = 0;    // record of the line chosen last in List1
    std::int16_t LIST_POS = -1;  // List1 index of that line
    std::int16_t EDIT_CODE = 1;  // the code being edited
    std::string EDIT_NAME;       // the name being edited, blank-padded to the tool's name length
    std::int32_t EDIT_PRICE = 0; // unit price (itemmaint, glassmaint)
    std::int32_t EDIT_COST = 0;  // cost (itemmaint, glassmaint)
    std::int32_t RANGE_VALUE = 0;
    std::int16_t CHK_ERR = 0;
    std::int16_t CHOSEN_MAJOR = 0; // the major class chosen in List2 (classmaint, colormaint)
    std::int32_t MAJOR_COUNT = 0;  // records of "\data\MAKER.TXT" at its last reading

    // The master's record buffer (MAKER_REC of groupmaint, CIHO_REC of sectmaint, ...): the
    // record chosen last, as read.
    qd::records::Record REC;
    qd::records::Record MAKER_REC{qd::records::MajorClass::layout()};
    // The code fields of the chosen record as they were listed: a change or a deletion goes
    // ahead only while the file still holds them at CUR_REC.
    std::string CUR_KEY;

    // Files listed in part (they end in a part of a record) that the user is still to be told of.
    qd::records::PartialRecordNotes partialNotes;
};

// ownmaint: the own-company record and one edit string per field (SYSF_EDIT[1] .. [12]).
struct OwnState {
    qd::records::Record SYSF_REC{qd::records::OwnCompany::layout()};
    std::array<std::string, 13> SYSF_EDIT{};
    std::int32_t recordCount = 0;
    qd::records::PartialRecordNotes partialNotes; // as in MaintState
};

} // namespace qd::maint
