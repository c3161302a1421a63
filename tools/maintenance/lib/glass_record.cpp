#include "tools/maintenance/lib/glass_record.h"

namespace qd::maint {

const qd::records::Layout &Glass::layout()
{
    using qd::records::FieldDef;
    static const qd::records::Layout l = qd::records::makeLayout(
        "GlassRecord", 64,
        {FieldDef{"GARASU_CD", -1, 2, true}, FieldDef{"NAME", -1, 20, true}, FieldDef{"TANKA", -1, 7, true},
         FieldDef{"GENKA", -1, 7, true}, FieldDef{"FILLER", -1, 22, false}},
        qd::records::RecordEnd::CrLf);
    return l;
}

} // namespace qd::maint
