// Playing a page image onto a QPainter: the preview's picture, the printer and PDF all draw a
// page through playPage.
//
// The page's frame (the paper, in 0.01 mm) is stretched onto a target rectangle of the painter,
// so a target of the paper's size in the device's pixels prints every layout unit as 0.1 mm.
// The face "標準ゴシック" is drawn with a fixed-pitch Japanese Gothic (IPAGothic, else Noto Sans
// Mono CJK JP), whose half-width characters are exactly half an em.
#pragma once

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

#include "platform/emf/page_image.h"

class QPainter;

namespace qd::qt {

// The installed families that stand for a face name of a page image, in order of preference.
// A name starting with "@" (vertical writing) stands for the name without it.
QStringList pageFontFamilies(const QString &face);

// The font for a logical font of a page image, sized in the page's logical units.
QFont pageFont(const qd::emf::LogFont &font);

// The paper of a page: the size of its frame in millimetres.
QSizeF pagePaperSizeMm(const qd::emf::PageImage &page);

// Draws `page` so that its frame fills `target` (in the painter's current coordinates). The
// painter's state is as before afterwards. `page` is a page as parsePageImage passes it, whose
// glyphs and rules fit the paper.
void playPage(const qd::emf::PageImage &page, QPainter &painter, const QRectF &target);

} // namespace qd::qt
