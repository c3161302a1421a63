// The look the print forms share: their light-yellow background and the faces of their texts,
// each face with the installed Japanese faces that stand for it.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace qd::printing {

inline QFont formFont(const QString &face, double points, bool bold, bool mincho = false)
{
    QFont f;
    f.setFamilies(QStringList{face} + (mincho ? QStringList{QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")}
                                               : QStringList{QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")}));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

inline void setBackColor(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

inline const QColor kLightYellow{255, 255, 224};

} // namespace qd::printing
