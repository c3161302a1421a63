#include "quotedesk/entry/cascade_lists.h"

#include <algorithm>

#include "platform/text/cp932.h"
#include "platform/text/numbers.h"
#include "quotedesk/entry/master_reads.h"

namespace qd::forms {

namespace {

using qd::records::Record;
using qd::records::RecordFileControl;

// Every whole record of an open master that `keep` accepts, as a line of `list`.
template <class Keep, class Line>
void fill(QdState &g, ListBox *list, RecordFileControl &ctl, Record &rec, Keep keep, Line line)
{
    list->clearLines();
    const std::int32_t count = qd::entry::shownRecordCount(g, ctl);
    for (std::int32_t n = 1; n <= count; ++n) {
        ctl.get(n, rec);
        if (keep(rec))
            addLine(list, line(rec, n));
    }
}

const auto always = [](const Record &) { return true; };

} // namespace

void fillMajors(QdState &g, ListBox *list)
{
    qd::entry::openFormMasters(g);
    fill(g, list, g.MAKER_CTL, g.MAKER_REC, always, qd::entry::majorLine);
}

void fillSections(QdState &g, ListBox *list)
{
    qd::entry::openFormMasters(g);
    fill(g, list, g.CIHO_CTL, g.CIHO_REC, always, qd::entry::sectionLine);
}

void fillClasses(QdState &g, ListBox *list)
{
    qd::entry::openFormMasters(g);
    fill(g, list, g.BUNRUI_CTL, g.BUNRUI_REC, [&g](const Record &r) { return qd::entry::classListed(g, r); },
         qd::entry::classLine);
}

void fillColours(QdState &g, ListBox *list)
{
    qd::entry::openFormMasters(g);
    fill(g, list, g.IRO_CTL, g.IRO_REC, [&g](const Record &r) { return qd::entry::colourListed(g, r); },
         qd::entry::colourLine);
}

void fillKind1(QdState &g, ListBox *list)
{
    qd::entry::HISYU1_OPEN_READ(g);
    qd::records::CloseOnExit closer{g.HISYU1_CTL};
    fill(g, list, g.HISYU1_CTL, g.HISYU1_REC, [&g](const Record &r) { return qd::entry::kind1Listed(g, r); },
         qd::entry::kind1Line);
}

void fillKind2(QdState &g, ListBox *list, const std::string &kind1Code)
{
    qd::entry::HISYU2_OPEN_READ(g);
    qd::records::CloseOnExit closer{g.HISYU2_CTL};
    fill(g, list, g.HISYU2_CTL, g.HISYU2_REC,
         [&](const Record &r) { return qd::entry::kind2Listed(g, r, kind1Code); }, qd::entry::kind2Line);
}

void takeKind2(QdState &g, std::int32_t recNo)
{
    qd::entry::HISYU2_OPEN_READ(g);
    qd::records::CloseOnExit closer{g.HISYU2_CTL};
    if (recNo >= 1 && recNo <= g.HISYU2_CTL.recordCount) {
        g.HISYU2_CTL.get(recNo, g.HISYU2_REC);
        g.KIND2_NO = static_cast<std::int16_t>(g.HISYU2_REC.number(qd::records::Kind2::HINSYU2_CD));
    }
}

bool takeSection(QdState &g, std::int32_t recNo)
{
    qd::entry::openFormMasters(g);
    if (recNo < 1 || recNo > g.CIHO_CTL.recordCount)
        return false;
    g.CIHO_CTL.get(recNo, g.CIHO_REC);
    g.SECTION_NO = static_cast<std::int16_t>(g.CIHO_REC.number(qd::records::Section::CIHO_CD));
    return true;
}

void fillPriceLines(QdState &g, ListBox *list)
{
    list->clearLines();
    const auto file = qd::entry::cascadePriceFile(g);
    if (!file)
        return;
    g.TANKA_NAME = *file;
    qd::records::TANKA_OPEN_READ(g);
    qd::records::CloseOnExit closer{g.TANKA_CTL};
    const std::int32_t count = qd::entry::shownRecordCount(g, g.TANKA_CTL);
    for (std::int32_t r = 1; r <= count; ++r) {
        qd::records::TANKA_REC_CLEAR(g);
        g.TANKA_CTL.get(r, g.TANKA_REC);
        if (qd::entry::priceListed(g, g.TANKA_REC))
            addLine(list, qd::entry::priceLine(g.TANKA_REC, r, g.TANKA_NAME));
    }
}

bool readPriceLine(QdState &g, const std::string &file, std::int32_t recNo)
{
    if (file.empty())
        return false;
    if (!g.TANKA_CTL.file.isOpen() || qd::text::trim(g.TANKA_NAME) != file) {
        g.TANKA_CTL.close();
        g.TANKA_NAME = file;
        qd::records::TANKA_OPEN_READ(g);
    }
    if (recNo < 1 || recNo > g.TANKA_CTL.recordCount)
        return false;
    g.TANKA_CTL.get(recNo, g.TANKA_REC);
    return true;
}

void cascadeGotFocus(QdState &g, CascadeLevel level, ListBox *priceLines)
{
    priceLines->clearLines();
    switch (level) {
    case CascadeLevel::Major:
        g.MAJOR_NO = 0;
        [[fallthrough]];
    case CascadeLevel::Class:
        g.CLASS_NO = 0;
        [[fallthrough]];
    case CascadeLevel::Kind1:
        g.KIND1_NO = 0;
        [[fallthrough]];
    case CascadeLevel::Kind2:
        g.KIND2_NO = 0;
        break;
    case CascadeLevel::Section:
        break;
    }
}

std::int16_t codeNumber(const std::string &code)
{
    return static_cast<std::int16_t>(qd::text::roundHalfEven(qd::text::val(qd::text::trim(code))));
}

void closeCascadeFiles(QdState &g)
{
    qd::entry::closeFormMasters(g);
    g.HISYU1_CTL.close();
    g.HISYU2_CTL.close();
    g.TANKA_CTL.close();
}

namespace {

// The widest line of a list: a code of `codeChars` and a name of `nameBytes` in full-width
// characters.
QString widestLine(int codeChars, int nameBytes)
{
    return QString(codeChars, u'0') + u' ' + QString(nameBytes / 2, QChar(0x30A2));
}

} // namespace

void fitSideColumn(const CascadeColumns &c, int rightEdge)
{
    const int need = std::max(c.section->widthToShow(widestLine(2, 20)), c.colour->widthToShow(widestLine(2, 20)));
    const int width = std::max(c.section->width(), c.colour->width());
    if (need <= width)
        return;
    const int spare = std::max(0, std::min(c.kind1->width() - c.kind1->widthToShow(widestLine(4, 36)),
                                           c.kind2->width() - c.kind2->widthToShow(widestLine(4, 32))));
    const int shift = std::min(spare, need - width);
    const int left = std::min(c.section->x(), c.colour->x()) - shift;
    const int sideWidth = std::max(width, std::min(need, rightEdge - left));
    std::vector<QWidget *> middle = c.middleHeadings, side = c.sideHeadings;
    middle.insert(middle.end(), {c.kind1, c.kind2});
    side.insert(side.end(), {c.section, c.colour});
    for (QWidget *w : middle)
        w->resize(w->width() - shift, w->height());
    for (QWidget *w : side)
        w->setGeometry(w->x() - shift, w->y(), sideWidth, w->height());
}

void Cascade::attach(ListBox *list2, ListBox *list1, ListBox *list3, ListBox *list4, ListBox *list5, ListBox *list6,
                     ListBox *list7, ListBox *afterSection)
{
    // The record numbers that end the lines (price_lists.h): five digits for the major classes,
    // classes and sections, four for the colours, six for the kinds and the price lines.
    for (ListBox *l : {list2, list1, list5})
        l->setHiddenTail(5);
    list7->setHiddenTail(4);
    for (ListBox *l : {list3, list4, list6})
        l->setHiddenTail(6);
    m_list2 = list2;
    m_list1 = list1;
    m_list3 = list3;
    m_list4 = list4;
    m_list5 = list5;
    m_list6 = list6;
    m_list7 = list7;
    m_afterSection = afterSection;
}

bool Cascade::majorChosen()
{
    if (!hasCurrent(m_list2))
        return false;
    m_g.MAJOR_NO = codeNumber(currentLine(m_list2).code);
    m_list3->clearLines();
    m_list4->clearLines();
    fillClasses(m_g, m_list1);
    fillColours(m_g, m_list7);
    return true;
}

bool Cascade::classChosen()
{
    if (!hasCurrent(m_list1))
        return false;
    m_g.CLASS_NO = codeNumber(currentLine(m_list1).code);
    m_list4->clearLines();
    fillKind1(m_g, m_list3);
    return true;
}

bool Cascade::kind1Chosen()
{
    if (!hasCurrent(m_list3))
        return false;
    const std::string kind1 = currentLine(m_list3).code;
    m_g.KIND1_NO = codeNumber(kind1);
    fillKind2(m_g, m_list4, kind1);
    return true;
}

void Cascade::kind2Chosen()
{
    if (hasCurrent(m_list4))
        takeKind2(m_g, currentLine(m_list4).recNo);
}

bool Cascade::sectionChosen()
{
    if (!hasCurrent(m_list5) || !takeSection(m_g, currentLine(m_list5).recNo))
        return false;
    fillPriceLines(m_g, m_list6);
    return true;
}

bool Cascade::colourChosen()
{
    if (!hasCurrent(m_list7))
        return false;
    const std::int32_t n = currentLine(m_list7).recNo;
    qd::entry::openFormMasters(m_g);
    if (n < 1 || n > m_g.IRO_CTL.recordCount)
        return false;
    m_g.IRO_CTL.get(n, m_g.IRO_REC);
    m_g.COLOR_NO = static_cast<std::int16_t>(m_g.IRO_REC.number(qd::records::Color::IRO_CD));
    return true;
}

void Cascade::gotFocus(ListBox *list)
{
    const CascadeLevel level = list == m_list2   ? CascadeLevel::Major
                               : list == m_list1 ? CascadeLevel::Class
                               : list == m_list3 ? CascadeLevel::Kind1
                               : list == m_list4 ? CascadeLevel::Kind2
                                                 : CascadeLevel::Section;
    cascadeGotFocus(m_g, level, m_list6);
}

void Cascade::keyDown(ListBox *list, int keyCode)
{
    if (keyCode != 13)
        return;
    ListBox *next = list == m_list2   ? m_list1
                    : list == m_list1 ? m_list3
                    : list == m_list3 ? m_list4
                    : list == m_list4 ? m_list5
                    : list == m_list5 ? m_afterSection
                                      : m_list6;
    next->setFocus();
}

} // namespace qd::forms
