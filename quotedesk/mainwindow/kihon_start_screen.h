// The start screen of the main window: its band of colour under every control and the logo of
// the trade, a two-pane sliding sash.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QWidget>

namespace qd::forms {

// The window's inside: the start screen's band from black at the top to RGB(0, 128, 255) at the
// bottom, drawn in 256 steps of the inside's height, under every control.
class KihonCanvas : public QWidget {
public:
    explicit KihonCanvas(QWidget *parent) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *) override;
};

// The start screen's logo: a two-pane sliding sash in its aluminium frame, drawn for the size
// given.
QPixmap logoPixmap(QSize size);

} // namespace qd::forms
