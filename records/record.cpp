#include "records/record.h"

#include <stdexcept>

#include "platform/text/cp932.h"

namespace qd::records {

Layout makeLayout(const char *name, int length, std::vector<FieldDef> fields, RecordEnd end)
{
    int offset = 0;
    for (FieldDef &f : fields) {
        if (f.offset < 0)
            f.offset = offset;
        offset = f.offset + f.width + (f.sep ? 1 : 0);
    }
    const int endBytes = end == RecordEnd::None ? 0 : 2;
    if (offset != length - endBytes)
        throw std::logic_error(std::string("record layout does not add up: ") + name);
    return Layout{name, length, std::move(fields), end};
}

Record::Record(const Layout &layout) : m_layout(&layout), m_bytes(layout.length, ' ') {}

void Record::setBytes(std::string_view b)
{
    m_bytes.assign(b.substr(0, m_layout->length));
    m_bytes.resize(m_layout->length, ' ');
}

const FieldDef &Record::def(int field) const
{
    if (field < 0 || field >= fieldCount())
        throw std::out_of_range(std::string("no such field in ") + m_layout->name);
    return m_layout->fields[field];
}

std::string Record::raw(int field) const
{
    const FieldDef &f = def(field);
    return m_bytes.substr(f.offset, f.width);
}

void Record::setRaw(int field, std::string_view bytes)
{
    const FieldDef &f = def(field);
    std::string b(bytes.substr(0, f.width));
    b.resize(f.width, ' ');
    m_bytes.replace(f.offset, f.width, b);
}

std::string Record::text(int field) const { return text::fromField(raw(field)); }
std::string Record::textToNul(int field) const { return text::fromField(raw(field), true); }
std::string Record::trimmed(int field) const { return text::trim(text(field)); }

std::int64_t Record::number(int field) const
{
    return text::fix(text::val(text::trim(raw(field))));
}

text::Fixed4 Record::fixedValue(int field) const { return text::valFixed(text::trim(raw(field))); }

void Record::setText(int field, std::string_view utf8)
{
    const FieldDef &f = def(field);
    m_bytes.replace(f.offset, f.width, text::toField(utf8, f.width));
}

void Record::setNumber(int field, std::int64_t value, std::string_view pattern)
{
    const FieldDef &f = def(field);
    std::string s = text::format(value, pattern);
    if (static_cast<int>(s.size()) > f.width) {
        // A negative value keeps its sign in the field ("-000005" in seven places), its digits
        // cut to the places that are left.
        const bool negative = value < 0 && f.width > 1;
        const std::string digits = negative ? s.substr(1) : s;
        const auto places = static_cast<std::size_t>(negative ? f.width - 1 : f.width);
        s = (negative ? "-" : "") + digits.substr(digits.size() - places);
    }
    setText(field, s);
}

void Record::blank(int field) { setRaw(field, ""); }

void Record::clearFields()
{
    for (int i = 0; i < fieldCount(); ++i)
        blank(i);
}

void Record::setSeparators()
{
    for (const FieldDef &f : m_layout->fields) {
        if (f.sep)
            m_bytes[f.offset + f.width] = ',';
        if (std::string_view(f.name) == "FILLER")
            m_bytes.replace(f.offset, f.width, std::string(f.width, ' '));
    }
    const int n = m_layout->length;
    switch (m_layout->end) {
    case RecordEnd::CrLf: m_bytes[n - 2] = '\r'; m_bytes[n - 1] = '\n'; break;
    case RecordEnd::LfCr: m_bytes[n - 2] = '\n'; m_bytes[n - 1] = '\r'; break;
    case RecordEnd::LfLf: m_bytes[n - 2] = '\n'; m_bytes[n - 1] = '\n'; break;
    case RecordEnd::None: break;
    }
}

} // namespace qd::records
