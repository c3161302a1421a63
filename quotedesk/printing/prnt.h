// PRNT: the preview of the composed pages. It shows one page image at a time ("2/5" in the
// caption), pages with "前頁" / "次頁" (and Page Up / Page Down on "印刷"), zooms by a
// magnification step, scrolls the page picture, and prints a range of pages with the progress
// window up. Closing it enables the main window again.
//
// Sizes and places are in twips, as 16-bit values; the picture at load is 11600 x 7866.
#pragma once

#include <QWidget>

#include <cstdint>
#include <exception>
#include <functional>
#include <optional>

#include "platform/emf/page_image.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace qd::printing {

struct PrintContext;

// The picture box of the preview: the page image fitted to the box.
class PagePicture : public QWidget {
    Q_OBJECT
public:
    explicit PagePicture(QWidget *parent);
    void setPage(qd::emf::PageImage page);
    const qd::emf::PageImage *page() const { return m_page ? &*m_page : nullptr; }
    // Where the page's paper is drawn in the box: one scale across and down, centred.
    QRectF pageRect() const;
    // Told when the page cannot be drawn; the picture is blank from then on.
    std::function<void(std::exception_ptr)> onPlayFailure;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<qd::emf::PageImage> m_page;
};

class PRNT : public QWidget {
    Q_OBJECT
public:
    explicit PRNT(PrintContext &ctx);

    // ---- controls ----
    QWidget *PicArea = nullptr;       // the part of the window the picture is seen through
    PagePicture *Preview1 = nullptr;
    QScrollBar *HScroll1 = nullptr, *VScroll1 = nullptr;
    QPushButton *Command1 = nullptr;  // "印刷": the page-range frame
    QPushButton *Command6 = nullptr;  // "前頁"
    QPushButton *Command2 = nullptr;  // "次頁"
    QPushButton *Command3 = nullptr;  // "戻る"
    QPushButton *Command4 = nullptr;  // "拡大"
    QPushButton *Command5 = nullptr;  // "縮小"
    QPushButton *Command7 = nullptr;  // "倍率変更"
    QGroupBox *Frame1 = nullptr;      // "印刷ページ設定"
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QLineEdit *Text2 = nullptr, *Text3 = nullptr; // first and last page
    QPushButton *Command8 = nullptr;  // "印 刷"
    QPushButton *Command9 = nullptr;  // "キャンセル"
    QLabel *Image1 = nullptr;         // printer settings

    // ---- state of the preview (twips) ----
    QString ZOOM_FACTOR;
    std::int16_t PIC_BASE_W = 0, PIC_BASE_H = 0, VIEW_W = 0, VIEW_H = 0;
    std::int16_t PIC_LEFT = 0, PIC_TOP = 0, HSCROLL_POS = 0, VSCROLL_POS = 0;

    // The picture's present size in twips.
    std::int16_t pictureWidth() const { return m_picW; }
    std::int16_t pictureHeight() const { return m_picH; }

    // Shows the window modeless, in front, with the focus on "印刷".
    void showPreview();
    // Loads the page image of PAGE_NO into the picture; a page that cannot be read leaves the
    // picture as it was and returns false.
    bool EMF_PAGE_SHOW();
    void refreshCaption();

    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void Command1_GotFocus();
    void Command1_KeyDown(int keyCode);
    void COMMAND2_CLICK();
    void COMMAND6_CLICK();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command7_Click();
    void HScroll1_Change();
    void HScroll1_Scroll();
    void VScroll1_Change();
    void VScroll1_Scroll();
    void HScroll1_KeyDown(int keyCode);
    void VScroll1_KeyDown(int keyCode);
    void Command1_Click();
    void Text2_GotFocus();
    void Text2_KeyDown(int keyCode);
    void Text2_LostFocus();
    void Text3_GotFocus();
    void Text3_KeyDown(int keyCode);
    void Text3_LostFocus();
    void Command8_Click();
    void Command9_Click();
    void Image1_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setPicture(double leftTwips, double topTwips, int widthTwips, int heightTwips);
    // The view is the whole picture: scroll bars at rest, nothing scrolled.
    void viewWholePicture();
    void zoom(bool in);
    void restorePlace();
    void printRange();
    // The events the form's controls pass on: whether one was taken.
    bool formEvent(QObject *watched, QEvent *event);

    PrintContext &m_ctx;
    std::int16_t m_picW = 0, m_picH = 0;
    bool m_unloading = false;
};

} // namespace qd::printing
