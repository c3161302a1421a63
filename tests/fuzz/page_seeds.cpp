// Writes the seed corpus of the page image fuzz target: pages as the page canvas draws them,
// with the fonts, texts and rules of the document layouts. Usage: fuzz_page_seeds <folder>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/emf/page_canvas.h"

using namespace qd::emf;

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: fuzz_page_seeds <folder>\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    int n = 0;
    auto save = [&](PageCanvas &canvas) { canvas.savePage(dir / pageImageName(++n)); };

    // A delivery note: a ruled table of rows with amounts right-aligned by blanks, under a
    // large bold title.
    PageCanvas canvas;
    for (int row = 0; row < 20; ++row) {
        const int y = 600 + row * 60;
        canvas.moveTo(30, y);
        canvas.lineTo(2900, y);
        canvas.drawText(40, y + 10, "引違い２枚建 標準タイプ " + std::to_string(row + 1) + "    ");
        canvas.drawText(2105, y + 10, "      125,000");
    }
    FontSpec title;
    title.pointSize = 24;
    title.bold = true;
    canvas.setFont(title);
    canvas.drawText(1100, 110, "納　　品　　書");
    save(canvas);

    // Every font a layout can ask for, with texts of one and two bytes a character.
    const double sizes[] = {6, 8, 9, 10, 10.5, 12, 14, 18, 24};
    int y = 50;
    for (double pt : sizes) {
        FontSpec f;
        f.pointSize = pt;
        f.bold = pt > 12;
        canvas.setFont(f);
        canvas.drawText(50, y, "¥1,234 ｱｲｳ 漢字　【x】 \\ ~");
        y += static_cast<int>(pt * 4) + 10;
    }
    save(canvas);

    FontSpec turned;
    turned.angle = 30;
    turned.underline = true;
    canvas.setFont(turned);
    canvas.drawText(1000, 1000, "斜め 30");
    FontSpec vertical;
    vertical.vertical = true;
    vertical.widthPercent = 80;
    canvas.setFont(vertical);
    canvas.drawText(200, 200, "縦書き");
    FontSpec other;
    other.face = "DejaVu Sans";
    other.italic = true;
    other.strikeOut = true;
    other.weight = 900;
    canvas.setFont(other);
    canvas.drawText(500, 1800, "Other face 😀 ①");
    canvas.moveTo(0, 0);
    canvas.lineTo(2960, 2090);
    save(canvas);

    // An empty page: mapping only.
    save(canvas);
    std::cout << n << " pages in " << dir << '\n';
    return 0;
}
