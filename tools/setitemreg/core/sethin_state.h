// The globals of setitemreg, under their own names, in one object: the open set, the set being
// named, the item chosen through the master lists and the work tables of the price panels.
// Forms and procedures get it by reference; a test starts from a fresh one.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "records/records_state.h"

namespace qd::setitemreg {

struct SethinState : qd::records::RecordsState {
    // The open set (SET_FILE_NAME, SET_REC, SET_CTL and SET_REC_NO are in RecordsState). A set is
    // open from the choice of its code or its list line until 追加, 取消 or the end; a set that
    // has no file yet (a new code) is open too.
    bool SET_OPEN = false;
    std::string SET_FILE_PATH, WSET_FILE_PATH;
    std::int32_t SET_CODE = 0;
    std::string CUR_SET_NAME;       // 30 bytes once taken
    std::int64_t SET_TOTAL = 0;     // yen
    std::int32_t SET_QTY = 0;
    std::string SET_QTY_TEXT;       // 5 characters
    std::int16_t RANGE_ERROR_FLAG = 0;
    // The set file's whole records as they were listed: a change or delete goes ahead only
    // while the file still holds exactly these.
    std::string LISTED_BYTES;

    // The current item (the entry lists set it, and the component panel partly).
    std::int16_t SEL_MAKER = 0, SEL_BUNRUI = 0, SEL_HINSYU1 = 0, SEL_HINSYU2 = 0, SEL_CIHO = 0, SEL_IRO = 0;
    std::string SEL_KIGO;   // 25 bytes of the price line, code page 932 as stored
    std::string SEL_BIKO;   // 50 bytes
    std::string PRICE_FILE_KEY; // 8 digits of the list-price file's name

    // Work tables of the price panels.
    std::array<std::int16_t, 16> IRO_CD_TBL{};
    std::array<std::int32_t, 20> TANKA_TBL{};
    std::array<std::string, 16> IRO_NAME_TBL{};
};

} // namespace qd::setitemreg
