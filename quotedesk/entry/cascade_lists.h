// The cascade of master lists that the unit-price search and the set search share: major class
// (List2), class (List1), kind 1 (List3), kind 2 (List4), section (List5) and colour (List7)
// narrow the price lines (List6) of one list-price file. Each fill reads its master from record 1
// and lists, in record order, the records the current choice keeps (price_lists.h); a master
// that ends in a part of a record lists its whole records and is noted in partialNotes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "quotedesk/core/qd_state.h"
#include "quotedesk/entry/list_lines.h"

namespace qd::forms {

using qd::core::QdState;

void fillMajors(QdState &g, ListBox *list);   // every major class
void fillSections(QdState &g, ListBox *list); // every section
void fillClasses(QdState &g, ListBox *list);  // the classes of MAJOR_NO
void fillColours(QdState &g, ListBox *list);  // the colours of MAJOR_NO
void fillKind1(QdState &g, ListBox *list);    // the kind-1 records of MAJOR_NO and CLASS_NO
// The kind-2 records of MAJOR_NO and CLASS_NO whose code begins as the chosen kind-1 code.
void fillKind2(QdState &g, ListBox *list, const std::string &kind1Code);
// KIND2_NO := the code of kind-2 record `recNo` (unchanged when it is not there).
void takeKind2(QdState &g, std::int32_t recNo);
// SECTION_NO := the code of section record `recNo`; false when it is not there.
bool takeSection(QdState &g, std::int32_t recNo);
// The price lines of the cascade's list-price file that the choice keeps; none when the choice
// names no file.
void fillPriceLines(QdState &g, ListBox *list);

// Reads record `recNo` of list-price file `file` into TANKA_REC; the file stays open for the
// next line of it (until the price lines lose the focus). False when the file does not hold
// that record.
bool readPriceLine(QdState &g, const std::string &file, std::int32_t recNo);

// Entering a cascade list empties the price lines and resets the choices below the one it
// makes: List2 the major class and all below, List1 the class and below, List3 the kinds, List4
// kind 2, List5 nothing.
enum class CascadeLevel { Major, Class, Kind1, Kind2, Section };
void cascadeGotFocus(QdState &g, CascadeLevel level, ListBox *priceLines);

// The numeric value of a list line's code (0 when it holds none).
std::int16_t codeNumber(const std::string &code);

// Closes what the cascade opens: the four masters, the kind files and the price file.
void closeCascadeFiles(QdState &g);

// The section and colour lists (the right column of the cascade, `side`, with their headings)
// widened to show a code and a name of the field's 20 bytes whole at their font: the column moves
// left into what the kind lists (the middle column, `middle`, with theirs) spare beyond their own
// widest lines, then grows to the right as far as `rightEdge` (pixels in the form). Lists that
// show their lines whole already stay as they are.
struct CascadeColumns {
    ListBox *kind1 = nullptr, *kind2 = nullptr;
    std::vector<QWidget *> middleHeadings;
    ListBox *section = nullptr, *colour = nullptr;
    std::vector<QWidget *> sideHeadings;
};
void fitSideColumn(const CascadeColumns &columns, int rightEdge);

// What the events of a form's cascade lists do, as both search forms have them.
class Cascade {
public:
    explicit Cascade(QdState &g) : m_g(g) {}
    // The form's lists; Enter in List5 moves on to `afterSection`. The lists show their lines
    // without the record numbers that end them, which only the handlers read.
    void attach(ListBox *list2, ListBox *list1, ListBox *list3, ListBox *list4, ListBox *list5, ListBox *list6,
                ListBox *list7, ListBox *afterSection);

    // A click's choice. Each returns false when its list has no current line.
    bool majorChosen();   // MAJOR_NO; the classes and colours listed, the kinds emptied
    bool classChosen();   // CLASS_NO; the kind-1 records listed, kind 2 emptied
    bool kind1Chosen();   // KIND1_NO; the kind-2 records listed
    void kind2Chosen();   // KIND2_NO
    bool sectionChosen(); // SECTION_NO; the price lines listed
    bool colourChosen();  // COLOR_NO; the colour record in IRO_REC
    // Entering List2 .. List5.
    void gotFocus(ListBox *list);
    // Enter moves the focus down the cascade: List2, List1, List3, List4, List5, then on.
    void keyDown(ListBox *list, int keyCode);

private:
    QdState &m_g;
    ListBox *m_list2 = nullptr, *m_list1 = nullptr, *m_list3 = nullptr, *m_list4 = nullptr, *m_list5 = nullptr,
            *m_list6 = nullptr, *m_list7 = nullptr, *m_afterSection = nullptr;
};

} // namespace qd::forms
