#include "platform/qt/entry_box.h"

#include "platform/qt/focus_selection.h"
#include "platform/qt/grid_view.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

#include <algorithm>
#include <string>

namespace qd::qt {

namespace {

// Full-width digits, signs, comma and point as their ASCII forms; everything else as it is.
std::string asciiForms(std::string_view utf8)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        // U+FF01..U+FF5E are EF BC 81..EF BD 9E; U+3000 (ideographic space) is E3 80 80.
        if (c == 0xEF && i + 2 < utf8.size()) {
            const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
            const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
            const int cp = ((c & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F);
            if (cp >= 0xFF01 && cp <= 0xFF5E) {
                out += static_cast<char>(cp - 0xFF01 + 0x21);
                i += 2;
                continue;
            }
        }
        if (c == 0xE3 && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0x80 &&
            static_cast<unsigned char>(utf8[i + 2]) == 0x80) {
            out += ' ';
            i += 2;
            continue;
        }
        out += static_cast<char>(c);
    }
    return out;
}


// Control characters become blanks as they come into the box: the line break and the tab that
// come with a cell copied from a spreadsheet would otherwise end a record's line in the middle
// of its fields.
class NoControlCharacters : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override
    {
        for (QChar &c : input)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                c = u' ';
        return Acceptable;
    }
};

} // namespace

std::optional<std::int64_t> wholeNumberOf(std::string_view utf8, std::int64_t min, std::int64_t max)
{
    const std::string s = asciiForms(utf8);
    std::size_t i = 0;
    const std::size_t n = s.size();
    auto skipBlanks = [&] {
        while (i < n && (s[i] == ' ' || s[i] == '\t'))
            ++i;
    };
    skipBlanks();
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
        skipBlanks();
    }
    // Whole part: digits, with "," between groups of digits.
    constexpr std::int64_t limit = 1'000'000'000'000'000'000; // far beyond any field
    std::int64_t whole = 0;
    int digits = 0;
    bool lastComma = false;
    while (i < n && ((s[i] >= '0' && s[i] <= '9') || (s[i] == ',' && digits > 0))) {
        if (s[i] == ',') {
            if (lastComma)
                return std::nullopt;
            lastComma = true;
        } else {
            lastComma = false;
            if (whole >= limit / 10)
                return std::nullopt;
            whole = whole * 10 + (s[i] - '0');
            ++digits;
        }
        ++i;
    }
    if (lastComma)
        return std::nullopt;
    // Fraction: only its first digit and whether anything follows decide the rounding.
    int firstFraction = -1;
    bool restNonZero = false;
    int fractionDigits = 0;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            if (fractionDigits == 0)
                firstFraction = s[i] - '0';
            else if (s[i] != '0')
                restNonZero = true;
            ++fractionDigits;
            ++i;
        }
    }
    if (digits == 0 && fractionDigits == 0)
        return std::nullopt;
    skipBlanks();
    if (i != n)
        return std::nullopt;
    if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || (whole % 2) != 0)))
        ++whole;
    const std::int64_t value = negative ? -whole : whole;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

EntryBox::EntryBox(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new NoControlCharacters(this));
    // A click that brings the focus leaves the whole text selected, as Tab does.
    keepSelectionOnFocusClick(this);
}

// The focus leaves a box that is being destroyed: its watch must not reach it any more.
EntryBox::~EntryBox() { disconnect(m_focusWatch); }

void EntryBox::bind(Binding binding) { m_binding = std::move(binding); }

void EntryBox::setTakers(std::vector<QWidget *> takers)
{
    if (!m_focusWatch)
        m_focusWatch = connect(qApp, &QApplication::focusChanged, this,
                               [this](QWidget *, QWidget *now) { focusMovedOn(now); });
    m_takers.assign(takers.begin(), takers.end());
}

bool EntryBox::isTaker(const QWidget *w) const
{
    return w && std::find(m_takers.begin(), m_takers.end(), w) != m_takers.end();
}

bool EntryBox::hasTyped() const { return isModified() && (m_kept || window()->focusWidget() == this); }

bool EntryBox::takeTyped()
{
    if (!hasTyped())
        return true;
    if (!m_binding.store || !m_binding.store(text()))
        return false;
    showStored();
    return true;
}

void EntryBox::focusMovedOn(QWidget *now)
{
    // A message box, another window or the window going to the back leave the text where it is.
    if (!m_kept || !now || now == this || now->window() != window() || isTaker(now))
        return;
    m_kept = false;
    LostFocus();
}

void EntryBox::showStored()
{
    m_kept = false;
    if (m_binding.shownText)
        setTextFromStart(m_binding.shownText());
}

void EntryBox::setTextFromStart(const QString &text)
{
    setText(text);
    home(false);
}

void EntryBox::GotFocus()
{
    if (m_binding.editText)
        setText(m_binding.editText());
    selectAll();
}

void EntryBox::KeyDown(int keyCode)
{
    if (keyCode == 13) {
        if (!m_binding.store || !m_binding.store(text()))
            return;
        showStored();
        if (m_next)
            m_next->setFocus(Qt::TabFocusReason);
        emit Entered();
    } else if (keyCode == 27 && m_escape == Escape::Restore) {
        showStored();
        if (m_previous)
            m_previous->setFocus(Qt::BacktabFocusReason);
    }
}

void EntryBox::LostFocus()
{
    showStored();
    emit Left();
}

void EntryBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const bool moved = m_focus.gotFocus(event);
    if (m_kept) {
        m_kept = false; // back from a taker: the typed text is still there, to be finished
        selectAll();
    } else if (moved) {
        GotFocus();
    }
}

bool EntryBox::event(QEvent *event)
{
    // A click into another control while the window was in the back moved the focus away from
    // this box without a word: it is left now, as the window comes to the front.
    if (event->type() == QEvent::WindowActivate && m_focus.windowActivated(window()->focusWidget() == this))
        leftFor(window()->focusWidget());
    return QLineEdit::event(event);
}

void EntryBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!m_focus.lostFocus(event))
        return;
    // The focus widget is already the one the focus goes to.
    leftFor(QApplication::focusWidget());
}

void EntryBox::leftFor(const QWidget *to)
{
    if (isModified() && isTaker(to)) {
        m_kept = true;
        return;
    }
    LostFocus();
}

void EntryBox::keyPressEvent(QKeyEvent *event)
{
    const int code = gridKeyCode(event->key(), event->modifiers());
    if (code == 13 || code == 27) {
        KeyDown(code);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace qd::qt
