#include "platform/qt/forms.h"

#include "platform/qt/seam.h"

#include <QEvent>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace qd::qt {

int twipsToPixelsAt(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double pixelsToTwipsAt(double pixels, double dpi)
{
    return pixels * 1440.0 / dpi;
}

int twipsToPixelsX(double twips)
{
    return twipsToPixelsAt(twips, seam().screen().dpiX);
}

int twipsToPixelsY(double twips)
{
    return twipsToPixelsAt(twips, seam().screen().dpiY);
}

double pixelsToTwipsX(double pixels)
{
    return pixelsToTwipsAt(pixels, seam().screen().dpiX);
}

double pixelsToTwipsY(double pixels)
{
    return pixelsToTwipsAt(pixels, seam().screen().dpiY);
}

void setGeometryTwips(QWidget *w, double left, double top, double width, double height)
{
    moveTwips(w, left, top);
    resizeTwips(w, width, height);
}

void moveTwips(QWidget *w, double left, double top)
{
    const ScreenSize s = seam().screen();
    int x = twipsToPixelsAt(left, s.dpiX);
    int y = twipsToPixelsAt(top, s.dpiY);
    if (w->isWindow()) {
        x += s.originX;
        y += s.originY;
    }
    w->move(x, y);
}

void resizeTwips(QWidget *w, double width, double height)
{
    const ScreenSize s = seam().screen();
    w->resize(std::max(0, twipsToPixelsAt(width, s.dpiX)), std::max(0, twipsToPixelsAt(height, s.dpiY)));
}

TwipsRect geometryTwips(const QWidget *w)
{
    const ScreenSize s = seam().screen();
    QPoint pos = w->pos();
    if (w->isWindow())
        pos -= QPoint(s.originX, s.originY);
    return {pixelsToTwipsAt(pos.x(), s.dpiX), pixelsToTwipsAt(pos.y(), s.dpiY),
            pixelsToTwipsAt(w->width(), s.dpiX), pixelsToTwipsAt(w->height(), s.dpiY)};
}

void centreOnScreen(QWidget *window)
{
    const ScreenSize s = seam().screen();
    // The frame counts once the window system has given the window one.
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    window->move(s.originX + (s.widthPx - size.width()) / 2,
                 s.originY + (s.heightPx - size.height()) / 2);
}

void keepOnScreen(QWidget *window)
{
    const ScreenSize s = seam().screen();
    const int left = s.availableWidthPx > 0 ? s.availableX : s.originX;
    const int top = s.availableHeightPx > 0 ? s.availableY : s.originY;
    const int width = s.availableWidthPx > 0 ? s.availableWidthPx : s.widthPx;
    const int height = s.availableHeightPx > 0 ? s.availableHeightPx : s.heightPx;
    // The frame counts once the window system has given the window one.
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    const QPoint at = window->pos();
    const int x = std::max(left, std::min(at.x(), left + width - size.width()));
    const int y = std::max(top, std::min(at.y(), top + height - size.height()));
    if (x != at.x() || y != at.y())
        window->move(x, y);
}

namespace {

// Keeps a window above its owner's window: the window system is told again whenever the window
// is shown, since Qt may give the window a new native window when its flags change.
class OwnerKeeper : public QObject {
public:
    OwnerKeeper(QWidget *window, QWidget *owner) : QObject(window), m_owner(owner)
    {
        window->installEventFilter(this);
        apply(window);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            apply(static_cast<QWidget *>(watched));
        return false;
    }

private:
    void apply(QWidget *window)
    {
        if (!m_owner)
            return;
        window->winId();
        m_owner->window()->winId();
        if (QWindow *handle = window->windowHandle())
            handle->setTransientParent(m_owner->window()->windowHandle());
    }

    QPointer<QWidget> m_owner;
};

} // namespace

void makeTopmost(QWidget *window, QWidget *owner)
{
    const bool wasVisible = window->isVisible();
    const QPoint pos = window->pos();
    if (QWidget *parent = window->parentWidget()) {
        // A child window would be disabled with its parent: make it a window of its own that is
        // still deleted with the former parent.
        window->setParent(nullptr);
        QObject::connect(parent, &QObject::destroyed, window, [window] { delete window; });
    }
    window->setWindowFlags((window->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool
                           | Qt::WindowStaysOnTopHint);
    window->move(pos);
    for (QObject *child : window->children())
        if (auto *keeper = dynamic_cast<OwnerKeeper *>(child))
            delete keeper;
    if (owner)
        new OwnerKeeper(window, owner);
    if (wasVisible)
        window->show();
}

void showModeless(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace qd::qt
