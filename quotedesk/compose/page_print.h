// The drawing layer under the page layouts: the print globals a layout sets before each call,
// the page drawing context of the page being composed, and the routines that draw a text, a
// rule or a box and that close a page into its page image file in "\data".
//
// Positions are in 0.1 mm of the page, origin at its top-left corner. Texts are moved by
// PRN_OFS_X / PRN_OFS_Y and every position is scaled by PRN_SCALE_X / PRN_SCALE_Y percent,
// rounded half to even; rules are scaled and never moved.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/emf/page_canvas.h"
#include "platform/files/file_lock.h"
#include "quotedesk/core/qd_state.h"

namespace qd::printing {

// The page image file of page `pageNo`: Trim(INST_DIR) & "\data\" & "001.emf" ..., as a host path.
std::filesystem::path pageImagePath(qd::core::QdState &g, int pageNo);

// Deletes the page images ("001.emf" ..., digits and ".emf" in any case) in "\data"; other
// files stay.
void deletePageImages(qd::core::QdState &g);

// The page images of one install folder serve one print run at a time, whichever program runs
// it: a run holds this lock, the exclusive lock of page 1's image, from the deletion of the
// last run's images to its last page printed, and writes and reads its pages under it. Another
// program's run waits for it up to `wait`, then gets qd::files::LockBusy.
qd::files::FileLock lockPageImages(qd::core::QdState &g,
                                   std::chrono::milliseconds wait = qd::files::kLockWait);

struct PagePrint {
    explicit PagePrint(qd::core::QdState &state) : g(state) {}

    qd::core::QdState &g;
    // Lets pending window events run before every text (the stop button of the progress
    // window); empty: nothing runs.
    std::function<void()> doEvents;

    // The print globals.
    std::int32_t PRN_X = 0, PRN_Y = 0;
    std::string PRN_FONT_NAME{qd::emf::kStandardGothic};
    double PRN_FONT_SIZE = 10;
    // Character width of the print font in percent of its natural width: 100, or less where a
    // text is narrowed to stay inside its cell.
    int PRN_FONT_WIDTH = 100;
    std::string PRN_TEXT;
    std::int32_t LINE_X1 = 0, LINE_Y1 = 0, LINE_X2 = 0, LINE_Y2 = 0;
    std::int32_t BOX_X1 = 0, BOX_Y1 = 0, BOX_X2 = 0, BOX_Y2 = 0;

    // The page being drawn; open from EMF_PAGE_OPEN on.
    std::optional<qd::emf::PageCanvas> PAGE_DC;
    // Page images written by EMF_PAGE_CLOSE since the page context was first opened.
    int pagesWritten = 0;
};

// A fresh, empty page of PAGE_W x PAGE_H millimetres in PAGE_DC.
void EMF_PAGE_OPEN(PagePrint &p);
// Writes PAGE_DC as the page image of PAGE_NO (replacing any file of that name) and opens the
// next, empty page. Throws qd::emf::PageWriteError when the file cannot be written.
void EMF_PAGE_CLOSE(PagePrint &p);
// PRN_FONT_NAME := "標準ゴシック", PRN_FONT_SIZE := 10, and that font for the next texts.
void PRN_FONT_DEFAULT(PagePrint &p);
// Draws PRN_TEXT at (PRN_X, PRN_Y) in PRN_FONT_NAME at PRN_FONT_SIZE points. A text holding a
// NUL character prints only what stands before it.
void PRN_TEXT_OUT(PagePrint &p);
// One rule from (LINE_X1, LINE_Y1) to (LINE_X2, LINE_Y2).
void PRN_LINE(PagePrint &p);
// The four edges of the box (BOX_X1, BOX_Y1) - (BOX_X2, BOX_Y2): top, left, right, bottom.
void PRN_BOX(PagePrint &p);

} // namespace qd::printing
