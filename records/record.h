// Fixed-length records as their bytes, with the field layout kept as data.
//
// A record buffer holds exactly the bytes of one record of its file. Fields are addressed by the
// record type's field enum; text goes in and out as UTF-8 and is stored as code page 932, cut on
// a character boundary and blank-padded to the field's width in bytes. A record read from a file
// keeps the separators and end bytes it was read with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/numbers.h"

namespace qd::records {

struct FieldDef {
    const char *name;
    int offset;
    int width;
    bool sep; // followed by a one-byte "," field
};

enum class RecordEnd { CrLf, LfCr, LfLf, None };

struct Layout {
    const char *name;
    int length;
    std::vector<FieldDef> fields; // in order, data fields and FILLER
    RecordEnd end = RecordEnd::CrLf;
};

// Builds a layout from widths alone: offsets follow from the widths and separators, so nobody
// counts them by hand. `fillerIndex` fields (FILLER) are listed like any other.
Layout makeLayout(const char *name, int length, std::vector<FieldDef> fields, RecordEnd end);

class Record {
public:
    explicit Record(const Layout &layout); // all blanks
    const Layout &layout() const { return *m_layout; }
    int fieldCount() const { return static_cast<int>(m_layout->fields.size()); }

    // Whole record bytes (exactly layout().length).
    const std::string &bytes() const { return m_bytes; }
    void setBytes(std::string_view b); // cut or blank-padded to the length

    // A field's text as stored (trailing blanks kept), decoded to UTF-8.
    std::string text(int field) const;
    // The same, cut at the first NUL.
    std::string textToNul(int field) const;
    // Trimmed of ordinary blanks.
    std::string trimmed(int field) const;
    // Numeric value of the trimmed text (an all-blank field reads as 0; letters read as 0).
    std::int64_t number(int field) const;
    qd::text::Fixed4 fixedValue(int field) const;
    // Stores a UTF-8 text left-justified, cut to the width on a character boundary, blank-padded.
    void setText(int field, std::string_view utf8);
    // Stores a whole number under a digit pattern such as "0000"; a value that does not fit the
    // width keeps its last digits so no neighbouring field is overwritten, and a negative one
    // its sign before them ("-000005" under "0000000").
    void setNumber(int field, std::int64_t value, std::string_view pattern);
    // Raw bytes of a field (code page 932).
    std::string raw(int field) const;
    void setRaw(int field, std::string_view bytes);
    void blank(int field);

    // Sets every data field to blanks; separators and end bytes are left as they are.
    void clearFields();
    // Puts "," into each separator byte, blanks into FILLER fields and the end bytes in place.
    void setSeparators();

    friend bool operator==(const Record &a, const Record &b) { return a.m_bytes == b.m_bytes; }

private:
    const FieldDef &def(int field) const;
    const Layout *m_layout;
    std::string m_bytes;
};

} // namespace qd::records
