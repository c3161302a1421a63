#include "quotedesk/compose/page_print.h"

#include <cctype>

#include "platform/files/paths.h"
#include "platform/text/cp932.h"
#include "platform/text/numbers.h"

namespace qd::printing {

using qd::text::Fixed4;

namespace {

// (v + offset) x scale / 100, to the nearest whole unit, halves to even.
std::int32_t scaled(std::int32_t v, Fixed4 offset, Fixed4 scale)
{
    const Fixed4 f = (Fixed4::fromInt(v) + offset) * scale / Fixed4::fromInt(100);
    return static_cast<std::int32_t>(f.roundHalfEven());
}

void rule(PagePrint &p, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    const Fixed4 none;
    p.PAGE_DC->moveTo(scaled(x1, none, p.g.PRN_SCALE_X), scaled(y1, none, p.g.PRN_SCALE_Y));
    p.PAGE_DC->lineTo(scaled(x2, none, p.g.PRN_SCALE_X), scaled(y2, none, p.g.PRN_SCALE_Y));
}

// The page in hand (opened when none is) takes the font of PRN_FONT_NAME and PRN_FONT_SIZE.
void selectFont(PagePrint &p)
{
    if (!p.PAGE_DC)
        EMF_PAGE_OPEN(p);
    qd::emf::FontSpec spec;
    spec.face = p.PRN_FONT_NAME;
    spec.pointSize = p.PRN_FONT_SIZE;
    spec.widthPercent = p.PRN_FONT_WIDTH;
    p.PAGE_DC->setFont(spec);
}

// "001.emf", "0012.EMF": digits, then ".emf" in any case.
bool isPageImageName(const std::string &name)
{
    constexpr std::size_t ext = 4;
    if (name.size() <= ext)
        return false;
    const std::size_t stem = name.size() - ext;
    for (std::size_t i = 0; i < stem; ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    std::string suffix = name.substr(stem);
    for (char &c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return suffix == ".emf";
}

} // namespace

void deletePageImages(qd::core::QdState &g)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path data = qd::files::hostPath(qd::text::trim(g.INST_DIR) + "\\data");
    for (fs::directory_iterator it(data, ec), end; !ec && it != end; it.increment(ec))
        if (isPageImageName(it->path().filename().string()) && it->is_regular_file(ec))
            fs::remove(it->path(), ec); // a file that will not go is left; the run replaces it
}

qd::files::FileLock lockPageImages(qd::core::QdState &g, std::chrono::milliseconds wait)
{
    return qd::files::FileLock::forHostFile(pageImagePath(g, 1), qd::files::LockKind::Exclusive, wait);
}

std::filesystem::path pageImagePath(qd::core::QdState &g, int pageNo)
{
    return qd::files::hostPath(qd::text::trim(g.INST_DIR) + "\\data\\" + qd::emf::pageImageName(pageNo));
}

void EMF_PAGE_OPEN(PagePrint &p)
{
    const int w = static_cast<int>(p.g.PAGE_W.roundHalfEven());
    const int h = static_cast<int>(p.g.PAGE_H.roundHalfEven());
    if (p.PAGE_DC && p.PAGE_DC->widthMm() == w && p.PAGE_DC->heightMm() == h) {
        p.PAGE_DC->clear(); // the font chosen last stays in force
        return;
    }
    p.PAGE_DC.emplace(w, h);
}

void EMF_PAGE_CLOSE(PagePrint &p)
{
    if (!p.PAGE_DC)
        EMF_PAGE_OPEN(p);
    // The canvas starts its next, empty page once the file is written.
    p.PAGE_DC->savePage(pageImagePath(p.g, p.g.PAGE_NO));
    ++p.pagesWritten;
}

void PRN_FONT_DEFAULT(PagePrint &p)
{
    p.PRN_FONT_NAME = std::string(qd::emf::kStandardGothic);
    p.PRN_FONT_SIZE = 10;
    p.PRN_FONT_WIDTH = 100;
    selectFont(p);
}

void PRN_TEXT_OUT(PagePrint &p)
{
    if (p.doEvents)
        p.doEvents();
    selectFont(p);
    std::string text = p.PRN_TEXT;
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos) {
        // What follows a NUL is not part of the text; the blanks after it draw nothing.
        text.resize(nul);
        text.append(200, ' ');
    }
    p.PAGE_DC->drawText(scaled(p.PRN_X, p.g.PRN_OFS_X, p.g.PRN_SCALE_X),
                        scaled(p.PRN_Y, p.g.PRN_OFS_Y, p.g.PRN_SCALE_Y), text);
}

void PRN_LINE(PagePrint &p)
{
    if (!p.PAGE_DC)
        EMF_PAGE_OPEN(p);
    rule(p, p.LINE_X1, p.LINE_Y1, p.LINE_X2, p.LINE_Y2);
}

void PRN_BOX(PagePrint &p)
{
    if (!p.PAGE_DC)
        EMF_PAGE_OPEN(p);
    rule(p, p.BOX_X1, p.BOX_Y1, p.BOX_X2, p.BOX_Y1); // top
    rule(p, p.BOX_X1, p.BOX_Y1, p.BOX_X1, p.BOX_Y2); // left
    rule(p, p.BOX_X2, p.BOX_Y1, p.BOX_X2, p.BOX_Y2); // right
    rule(p, p.BOX_X1, p.BOX_Y2, p.BOX_X2, p.BOX_Y2); // bottom
}

} // namespace qd::printing
