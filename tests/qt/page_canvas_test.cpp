// Page images: written by the page canvas, read back record by record, played onto images and
// PDF, and refused cleanly when they cannot be written or are not well formed.
#include "platform/emf/page_canvas.h"
#include "platform/emf/page_image.h"
#include "platform/files/fault_plan.h"
#include "platform/qt/page_player.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <uemf_safe.h>

#include <cstring>
#include <numeric>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

using namespace qd::emf;
namespace fs = std::filesystem;

namespace {

std::vector<const Record *> ofType(const PageImage &page, RecordType type)
{
    std::vector<const Record *> out;
    for (const Record &r : page.records)
        if (r.type == type)
            out.push_back(&r);
    return out;
}

// A small page as a layout draws one: a title, a right-aligned amount, a box of rules.
PageCanvas samplePage()
{
    PageCanvas canvas;
    FontSpec title;
    title.pointSize = 18;
    canvas.setFont(title);
    canvas.drawText(1180, 110, "御　見　積　書");
    canvas.setFont(FontSpec{});
    canvas.drawText(2105, 660, ""); // a blank field draws nothing
    canvas.drawText(2105, 760, "      125,000");
    canvas.drawText(250, 230, "ｶﾌﾞｼｷｶﾞｲｼｬ 東京建材　御中");
    const int box[4][4] = {{30, 600, 2900, 600}, {30, 600, 30, 2000}, {2900, 600, 2900, 2000},
                           {30, 2000, 2900, 2000}};
    for (const auto &l : box) {
        canvas.moveTo(l[0], l[1]);
        canvas.lineTo(l[2], l[3]);
    }
    return canvas;
}

// The rows and columns of an image that hold ink (any pixel darker than mid-grey).
struct Ink {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
};
Ink inkIn(const QImage &img, const QRect &area)
{
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// The names in a folder, without the lock files the file layer keeps beside the files it locks.
std::vector<std::string> filesIn(const fs::path &dir)
{
    std::vector<std::string> names;
    for (const fs::directory_entry &e : fs::directory_iterator(dir))
        if (e.path().extension() != ".lock")
            names.push_back(e.path().filename().string());
    return names;
}

// The page played at one pixel per layout unit (0.1 mm).
QImage playAtUnitScale(const PageImage &page, QPoint offset = {})
{
    QImage img(2960 + offset.x(), 2090 + offset.y(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    qd::qt::playPage(page, p, QRectF(offset, QSizeF(2960, 2090)));
    p.end();
    return img;
}

} // namespace

TEST(PageCanvas, WrittenPageReadsBackRecordByRecord)
{
    const std::string bytes = samplePage().bytes();
    const PageImage page = parsePageImage(bytes);

    // The frame is the paper, the reference device has pixels of 0.1 mm.
    EXPECT_EQ(page.header.frame, (Rect{0, 0, 29600, 20900}));
    EXPECT_EQ(page.header.device, (Size{2960, 2090}));
    EXPECT_EQ(page.header.millimeters, (Size{296, 209}));
    EXPECT_EQ(page.header.bytes, bytes.size());
    EXPECT_EQ(page.header.records, page.records.size());
    EXPECT_EQ(page.header.bounds, (Rect{30, 110, 2900, 2000}));
    // The records pass the EMF library's own checks as well as ours.
    for (const Record &r : page.records)
        EXPECT_EQ(U_emf_record_safe(bytes.data() + r.offset), 1) << int(r.type);

    // Mapping: anisotropic, viewport before window, both the page in units.
    const std::vector<std::pair<RecordType, std::pair<int, int>>> mapping{
        {RecordType::SetMapMode, {8, 0}},        {RecordType::SetViewportOrgEx, {0, 0}},
        {RecordType::SetViewportExtEx, {2960, 2090}}, {RecordType::SetWindowOrgEx, {0, 0}},
        {RecordType::SetWindowExtEx, {2960, 2090}}, {RecordType::SetBkMode, {1, 0}}};
    for (std::size_t i = 0; i < mapping.size(); ++i) {
        const Record &r = page.records[i + 1];
        EXPECT_EQ(r.type, mapping[i].first) << i;
        if (r.type == RecordType::SetMapMode || r.type == RecordType::SetBkMode)
            EXPECT_EQ(r.value, std::uint32_t(mapping[i].second.first));
        else
            EXPECT_EQ(std::make_pair(r.x, r.y), mapping[i].second) << i;
    }
    const auto pens = ofType(page, RecordType::CreatePen);
    ASSERT_EQ(pens.size(), 1u);
    EXPECT_EQ(pens[0]->pen.width, 1);
    EXPECT_EQ(pens[0]->pen.style, 0u);
    EXPECT_EQ(pens[0]->pen.color, 0u);

    const auto texts = ofType(page, RecordType::ExtTextOutW);
    ASSERT_EQ(texts.size(), 3u);
    struct Expected {
        int x, y;
        const char *text;
    };
    const Expected expected[] = {{1180, 110, "御　見　積　書"},
                                 {2105, 760, "      125,000"},
                                 {250, 230, "ｶﾌﾞｼｷｶﾞｲｼｬ 東京建材　御中"}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(texts[i]->text.x, expected[i].x);
        EXPECT_EQ(texts[i]->text.y, expected[i].y);
        EXPECT_EQ(toUtf8(texts[i]->text.chars), expected[i].text);
        EXPECT_EQ(texts[i]->text.dx.size(), texts[i]->text.chars.size());
    }
    // 18 pt is 64 units high: full-width characters advance 64 each.
    for (int d : texts[0]->text.dx)
        EXPECT_EQ(d, 64);
    // 10 pt is 35 units: half-width characters take 17.5, kept on the exact grid by alternating
    // 18 and 17, so the k-th character starts within half a unit of k x 17.5.
    int at = 0;
    for (std::size_t k = 0; k < texts[1]->text.dx.size(); ++k) {
        EXPECT_LE(std::abs(at - 17.5 * k), 0.5) << k;
        at += texts[1]->text.dx[k];
    }
    EXPECT_EQ(at, 228); // 13 half-width characters: 227.5, rounded to even
    // Half-width kana take half an em, kanji and the ideographic space a whole one: 11 halves
    // and 7 wholes, 437.5 units.
    const auto &mixed = texts[2]->text;
    EXPECT_EQ(mixed.dx[0] + mixed.dx[1], 35);
    EXPECT_EQ(std::accumulate(mixed.dx.begin(), mixed.dx.end(), 0), 438);

    const auto lines = ofType(page, RecordType::LineTo);
    const auto moves = ofType(page, RecordType::MoveToEx);
    ASSERT_EQ(lines.size(), 4u);
    ASSERT_EQ(moves.size(), 4u);
    EXPECT_EQ(std::make_pair(moves[2]->x, moves[2]->y), std::make_pair(2900, 600));
    EXPECT_EQ(std::make_pair(lines[2]->x, lines[2]->y), std::make_pair(2900, 2000));
}

TEST(PageCanvas, FontsFollowTheLayoutsRequests)
{
    auto spec = [](double pt, auto &&tweak) {
        FontSpec s;
        s.pointSize = pt;
        tweak(s);
        return s;
    };
    auto none = [](FontSpec &) {};
    const std::u16string gothic = u"標準ゴシック";
    const std::pair<FontSpec, std::tuple<int, int, int, std::u16string>> cases[] = {
        // height, weight, escapement, face
        {spec(10, none), {-35, 400, 0, gothic}},
        {spec(10.5, none), {-37, 400, 0, gothic}},
        {spec(18, none), {-64, 400, 0, gothic}},
        {spec(6, none), {-21, 400, 0, gothic}},
        {spec(12, [](FontSpec &s) { s.bold = true; }), {-42, 700, 0, gothic}},
        {spec(12, [](FontSpec &s) { s.bold = true; s.weight = 300; }), {-42, 300, 0, gothic}},
        {spec(10, [](FontSpec &s) { s.angle = 30; }), {-35, 400, 300, gothic}},
        {spec(10, [](FontSpec &s) { s.vertical = true; s.angle = 30; }),
         {-35, 400, 2700, u"@標準ゴシック"}},
    };
    for (const auto &[s, e] : cases) {
        const LogFont lf = makeLogFont(s);
        EXPECT_EQ(lf.height, std::get<0>(e)) << s.pointSize;
        EXPECT_EQ(lf.weight, std::get<1>(e)) << s.pointSize;
        EXPECT_EQ(lf.escapement, std::get<2>(e)) << s.pointSize;
        EXPECT_EQ(lf.orientation, std::get<2>(e)) << s.pointSize;
        EXPECT_EQ(lf.face, std::get<3>(e)) << s.pointSize;
        EXPECT_EQ(lf.width, 0);
        EXPECT_EQ(lf.charSet, 1);
    }
    FontSpec longName;
    longName.face = std::string(40, 'A');
    EXPECT_EQ(makeLogFont(longName).face.size(), 31u); // the face field keeps its NUL

    // Every text selects its font, but an unchanged font is not made again; a changed one
    // replaces the old one, which is deleted: never more than one text font alive.
    PageCanvas canvas;
    canvas.drawText(0, 0, "a");
    canvas.drawText(0, 50, "b");
    FontSpec small;
    small.pointSize = 6;
    canvas.setFont(small);
    canvas.drawText(0, 100, "c");
    canvas.setFont(FontSpec{});
    canvas.drawText(0, 150, "d");
    const PageImage page = parsePageImage(canvas.bytes());
    const auto fonts = ofType(page, RecordType::ExtCreateFontIndirectW);
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(fonts[0]->font.height, -35);
    EXPECT_EQ(fonts[1]->font.height, -21);
    EXPECT_EQ(fonts[2]->font.height, -35);
    EXPECT_EQ(ofType(page, RecordType::DeleteObject).size(), 2u);
    int alive = 0, most = 0;
    for (const Record &r : page.records) {
        if (r.type == RecordType::ExtCreateFontIndirectW)
            most = std::max(most, ++alive);
        if (r.type == RecordType::DeleteObject)
            --alive;
    }
    EXPECT_EQ(most, 2); // the new one is selected before the old one goes
    EXPECT_EQ(alive, 1);
    EXPECT_LE(page.header.handles, 4);
}

TEST(PageCanvas, DrawsNoPaddingAndKeepsItsBoundsOnThePaper)
{
    // Fields come padded to their width: the blanks after the text are not drawn, those before
    // it (right alignment) are. A U+FEFF that came in with a text is not written.
    PageCanvas canvas;
    canvas.drawText(2800, 100, "AB        ");
    canvas.drawText(100, 200, "   12   ");
    canvas.drawText(100, 300, "\uFEFF合計\uFEFF");
    canvas.drawText(100, 400, "      "); // all blank: nothing
    const PageImage page = parsePageImage(canvas.bytes());
    const auto texts = ofType(page, RecordType::ExtTextOutW);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0]->text.chars, u"AB");
    EXPECT_EQ(texts[1]->text.chars, u"   12");
    EXPECT_EQ(texts[2]->text.chars, u"合計");
    EXPECT_EQ(texts[0]->text.bounds.right, 2800 + 35); // two half-width characters
    EXPECT_EQ(page.header.bounds, (Rect{100, 100, 2835, 335}));

    // What runs past the paper counts to its edge only.
    canvas.drawText(2900, 2070, "ＡＢＣ");
    canvas.moveTo(-50, 10);
    canvas.lineTo(10, 10);
    EXPECT_EQ(parsePageImage(canvas.bytes()).header.bounds, (Rect{0, 10, 2959, 2089}));
    canvas.clear();
    canvas.drawText(3000, 2100, "X"); // nothing on the paper at all
    EXPECT_EQ(parsePageImage(canvas.bytes()).header.bounds, (Rect{0, 0, -1, -1}));
}

TEST(PageCanvas, PageImageNames)
{
    const std::pair<int, const char *> cases[] = {
        {1, "001.emf"}, {7, "007.emf"}, {12, "012.emf"}, {100, "100.emf"}, {123, "123.emf"},
        {1234, "1234.emf"}};
    for (const auto &[n, name] : cases)
        EXPECT_EQ(pageImageName(n), name);
}

TEST(PageCanvas, SavedPageLoadsAndTheCanvasStartsAfresh)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path data = dir.path().toStdString();
    PageCanvas canvas = samplePage();
    const std::string written = canvas.bytes();
    canvas.savePage(data / pageImageName(1));

    const PageImage page = loadPageImage(data / "001.emf");
    EXPECT_EQ(ofType(page, RecordType::ExtTextOutW).size(), 3u);
    std::ifstream in(data / "001.emf", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), written);

    // The next page is empty, with its mapping but no drawing, and replaces a file of its name.
    const PageImage fresh = parsePageImage(canvas.bytes());
    EXPECT_TRUE(ofType(fresh, RecordType::ExtTextOutW).empty());
    EXPECT_TRUE(ofType(fresh, RecordType::LineTo).empty());
    EXPECT_EQ(fresh.header.bounds, (Rect{0, 0, -1, -1}));
    canvas.drawText(40, 760, "2");
    canvas.savePage(data / "001.emf");
    const PageImage second = loadPageImage(data / "001.emf");
    EXPECT_EQ(ofType(second, RecordType::ExtTextOutW).size(), 1u);
    // The font set on the last page is in force on the next one, which makes its own.
    ASSERT_EQ(ofType(second, RecordType::ExtCreateFontIndirectW).size(), 1u);
    EXPECT_EQ(ofType(second, RecordType::ExtCreateFontIndirectW)[0]->font.height, -35);
    EXPECT_EQ(filesIn(data), std::vector<std::string>{"001.emf"}); // no work copy left

    EXPECT_THROW(loadPageImage(data / "002.emf"), PageImageError);
}

TEST(PageCanvas, AFailedSaveReportsAndKeepsThePage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path root = dir.path().toStdString();
    { std::ofstream(root / "plain") << "x"; }
    fs::create_directory(root / "taken");
    fs::create_directory(root / "taken" / "001.emf");
    fs::create_directory(root / "locked");
    fs::permissions(root / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    const bool lockHolds = ::access((root / "locked").c_str(), W_OK) != 0; // not for root

    const fs::path targets[] = {root / "missing" / "001.emf", root / "plain" / "001.emf",
                                root / "taken" / "001.emf", root / "locked" / "001.emf"};
    for (const fs::path &target : targets) {
        if (target.parent_path().filename() == "locked" && !lockHolds)
            continue;
        PageCanvas canvas = samplePage();
        const std::string before = canvas.bytes();
        try {
            canvas.savePage(target);
            ADD_FAILURE() << "saved into " << target;
        } catch (const PageWriteError &e) {
            EXPECT_EQ(e.file(), target);
            EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos);
        }
        EXPECT_EQ(canvas.bytes(), before) << target;
    }
    EXPECT_TRUE(fs::is_directory(root / "taken" / "001.emf"));
    EXPECT_EQ(filesIn(root / "taken"), std::vector<std::string>{"001.emf"}); // no work copy
    fs::permissions(root / "locked", fs::perms::owner_all);
}

// A page image goes through the file layer: a disk that fails at any step of the write leaves
// the page image before it as it was, no work copy behind, and the drawn page in the canvas.
TEST(PageCanvas, AFailingDiskLeavesThePageImageThatWasThere)
{
    using qd::files::FileStep;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path data = dir.path().toStdString();
    const fs::path file = data / "001.emf";
    PageCanvas earlier = samplePage();
    const std::string old = earlier.bytes();
    earlier.savePage(file);
    for (FileStep step : {FileStep::Write, FileStep::Flush, FileStep::Rename}) {
        PageCanvas canvas;
        canvas.drawText(40, 760, "新しいページ");
        const std::string drawn = canvas.bytes();
        {
            qd::files::ScopedFault fault(step, 1);
            try {
                canvas.savePage(file);
                ADD_FAILURE() << "saved through a failing step " << int(step);
            } catch (const PageWriteError &e) {
                EXPECT_EQ(e.file(), file);
                EXPECT_FALSE(e.reason().empty()) << "the system's reason reaches the user";
            }
            EXPECT_TRUE(qd::files::faults::fired()) << int(step);
        }
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old) << int(step);
        EXPECT_EQ(canvas.bytes(), drawn);
        EXPECT_EQ(filesIn(data), std::vector<std::string>{"001.emf"});
    }
}

TEST(PageImage, MalformedFilesAreRefused)
{
    const std::string good = samplePage().bytes();
    const PageImage page = parsePageImage(good);
    const Record &text = *ofType(page, RecordType::ExtTextOutW)[0];
    const Record &select = *ofType(page, RecordType::SelectObject)[0];
    const Record &winExt = *ofType(page, RecordType::SetWindowExtEx)[0];
    const Record &vpExt = *ofType(page, RecordType::SetViewportExtEx)[0];
    const Record &font = *ofType(page, RecordType::ExtCreateFontIndirectW)[0];
    const Record &pen = *ofType(page, RecordType::CreatePen)[0];
    const Record &eof = page.records.back();

    auto put32 = [](std::string &b, std::size_t at, std::uint32_t v) { std::memcpy(&b[at], &v, 4); };
    const std::vector<std::pair<const char *, std::function<void(std::string &)>>> cases{
        {"empty", [](std::string &b) { b.clear(); }},
        {"cut inside the last record", [](std::string &b) { b.resize(b.size() - 4); }},
        {"signature", [](std::string &b) { b[40] = 'X'; }},
        {"byte count", [&](std::string &b) { put32(b, 48, std::uint32_t(b.size() + 4)); }},
        {"record count", [&](std::string &b) { put32(b, 52, std::uint32_t(page.records.size() + 1)); }},
        {"no object table", [&](std::string &b) { b[56] = 0; b[57] = 0; }},
        {"odd record size", [&](std::string &b) { put32(b, text.offset + 4, text.size - 2); }},
        {"size past the end", [&](std::string &b) { put32(b, text.offset + 4, 0x7FFFFFF0); }},
        {"zero size", [&](std::string &b) { put32(b, text.offset + 4, 0); }},
        {"unknown type", [&](std::string &b) { put32(b, text.offset, 76); }},
        {"string outside", [&](std::string &b) { put32(b, text.offset + 48, text.size - 2); }},
        {"too many characters", [&](std::string &b) { put32(b, text.offset + 44, 0x40000000); }},
        {"glyph indexes", [&](std::string &b) { put32(b, text.offset + 52, 0x10); }},
        {"advances outside", [&](std::string &b) { put32(b, text.offset + 72, text.size); }},
        {"unmade object", [&](std::string &b) { put32(b, select.offset + 8, 3); }},
        {"handle beyond table", [&](std::string &b) { put32(b, select.offset + 8, 900); }},
        {"zero window extent", [&](std::string &b) { put32(b, winExt.offset + 8, 0); }},
        {"no end record", [&](std::string &b) { b.resize(eof.offset); put32(b, 48, eof.offset); }},
        {"data after the end", [&](std::string &b) { b += b.substr(eof.offset); put32(b, 48, std::uint32_t(b.size())); }},
        {"header repeated", [&](std::string &b) { put32(b, text.offset, 1); }},
        // What no printed page holds and the player could only draw by building glyphs or
        // strokes of billions of pixels, or by overflowing its arithmetic.
        {"frame left at the 32-bit limit", [&](std::string &b) { put32(b, 24, std::uint32_t(INT_MIN)); }},
        {"bounds wider than 32 bits", [&](std::string &b) { put32(b, 8, std::uint32_t(INT_MIN)); put32(b, 16, INT_MAX); }},
        {"font 4 GB of pixels", [&](std::string &b) { put32(b, font.offset + 12, std::uint32_t(-65495)); }},
        {"tiny font, huge viewport", [&](std::string &b) {
             put32(b, font.offset + 12, 1);
             put32(b, font.offset + 16, 108);
             put32(b, vpExt.offset + 8, 2000000000);
             put32(b, vpExt.offset + 12, 2000000000);
         }},
        {"font stretched by a window one unit wide", [&](std::string &b) {
             put32(b, font.offset + 16, 8448);
             put32(b, winExt.offset + 8, 1);
         }},
        {"pen wider than the page", [&](std::string &b) { put32(b, pen.offset + 16, 100000); }},
    };
    for (const auto &[name, corrupt] : cases) {
        std::string bad = good;
        corrupt(bad);
        EXPECT_THROW(parsePageImage(bad), PageImageError) << name;
    }

    // Every shorter file is refused, and no single damaged byte gets past the checks into a
    // crash: each one is read or refused with a message.
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_THROW(parsePageImage(std::string_view(good).substr(0, n)), PageImageError) << n;
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (char v : {'\xFF', '\x00', '\x80'}) {
            std::string bad = good;
            bad[i] = v;
            try {
                parsePageImage(bad);
            } catch (const PageImageError &) {
            }
        }
    }
}

TEST(PagePlayer, StandardGothicHasHalfWidthCharactersOfHalfAnEm)
{
    for (int height : {-35, -64, -1000}) {
        LogFont lf;
        lf.height = height;
        lf.face = u"標準ゴシック";
        const QFont font = qd::qt::pageFont(lf);
        const QString family = QFontInfo(font).family();
        EXPECT_TRUE(family == QStringLiteral("IPAGothic") ||
                    family == QStringLiteral("Noto Sans Mono CJK JP"))
            << family.toStdString();
        const QFontMetricsF fm(font);
        const double em = -height;
        for (const QString &half : {QStringLiteral("1"), QStringLiteral(" "), QStringLiteral(","),
                                    QStringLiteral("W"), QStringLiteral("ｱ")})
            EXPECT_NEAR(fm.horizontalAdvance(half), em / 2, em / 1000) << half.toStdString();
        for (const QString &full : {QStringLiteral("１"), QStringLiteral("　"), QStringLiteral("漢"),
                                    QStringLiteral("【")})
            EXPECT_NEAR(fm.horizontalAdvance(full), em, em / 1000) << full.toStdString();
        EXPECT_NEAR(fm.horizontalAdvance(QStringLiteral("    1,234")), 9 * em / 2, em / 100);
    }
}

TEST(PagePlayer, PlaysTextsAndRulesWhereTheLayoutPutsThem)
{
    // Numbers are right-aligned by leading blanks; the advances in the page keep them aligned
    // even in a face whose blanks and digits differ in width.
    for (const char *face : {"標準ゴシック", "DejaVu Sans"}) {
        PageCanvas canvas;
        FontSpec font;
        font.face = face;
        canvas.setFont(font);
        canvas.drawText(1000, 760, "■"); // 10 pt, top at 76.0 mm
        canvas.drawText(2105, 1000, "    1,234,567");
        canvas.drawText(2105, 1100, "          890");
        canvas.moveTo(100, 1500);
        canvas.lineTo(2800, 1500);
        const PageImage page = parsePageImage(canvas.bytes());

        for (QPoint offset : {QPoint(0, 0), QPoint(40, 25)}) {
            SCOPED_TRACE(std::string(face) + " at " + std::to_string(offset.x()));
            const QImage img = playAtUnitScale(page, offset);
            const int ox = offset.x(), oy = offset.y();
            // Both amounts end in the same column.
            const Ink a = inkIn(img, QRect(ox + 2000, oy + 990, 500, 50));
            const Ink b = inkIn(img, QRect(ox + 2000, oy + 1090, 500, 50));
            EXPECT_NEAR(a.right, b.right, 2);
            if (font.face == kStandardGothic) {
                // 13 half-width characters take 227.5 units.
                EXPECT_LT(a.right, ox + 2105 + 228);
                EXPECT_GT(a.right, ox + 2105 + 205);
                const Ink square = inkIn(img, QRect(ox + 950, oy + 700, 150, 150));
                EXPECT_GE(square.top, oy + 760);
                EXPECT_LE(square.top, oy + 767);
                EXPECT_GE(square.left, ox + 1000);
                EXPECT_LE(square.bottom, oy + 795);
            }
            const Ink rule = inkIn(img, QRect(ox, oy + 1450, 2960, 100));
            EXPECT_NEAR(rule.left, ox + 100, 1);
            EXPECT_NEAR(rule.right, ox + 2800, 1);
            EXPECT_NEAR(rule.top, oy + 1500, 1);
            EXPECT_LE(rule.bottom - rule.top, 1);
        }
    }

    {
        // The yen mark is one byte in the files, so it keeps a half-width cell even where the
        // font draws it full width: an amount after it is not overdrawn.
        PageCanvas canvas;
        canvas.drawText(1000, 1800, "¥");
        canvas.drawText(1000, 1900, "¥1");
        const QImage img = playAtUnitScale(parsePageImage(canvas.bytes()), QPoint(0, 0));
        const Ink yen = inkIn(img, QRect(950, 1780, 200, 60));
        EXPECT_LE(yen.right, 1000 + 18);
        const Ink yenOne = inkIn(img, QRect(950, 1880, 200, 60));
        EXPECT_GT(yenOne.right, 1000 + 18);
        EXPECT_LE(yenOne.right, 1000 + 36);
    }

    PageCanvas canvas;
    canvas.moveTo(100, 1500);
    canvas.lineTo(2800, 1500);
    const PageImage page = parsePageImage(canvas.bytes());
    // The preview's smaller picture shows the same page scaled.
    QImage small(1160, 819, QImage::Format_RGB32);
    small.fill(Qt::white);
    QPainter p(&small);
    qd::qt::playPage(page, p, QRectF(0, 0, 1160, 819));
    p.end();
    const Ink rule = inkIn(small, QRect(0, 560, 1160, 50));
    EXPECT_NEAR(rule.top, 1500 * 1160 / 2960.0, 1.5);
}

TEST(PagePlayer, DrawsEveryCharacterInItsOwnCell)
{
    // A page from elsewhere may start a text with U+FEFF: it is a character with a cell of its
    // own, so the digits after it stand where their advances put them.
    PageCanvas canvas;
    canvas.drawText(1000, 1000, "W11");
    std::string bytes = canvas.bytes();
    const std::uint32_t at = ofType(parsePageImage(bytes), RecordType::ExtTextOutW)[0]->offset;
    std::uint32_t offString;
    std::memcpy(&offString, bytes.data() + at + 48, 4);
    const char16_t bom = u'\uFEFF';
    std::memcpy(bytes.data() + at + offString, &bom, 2);
    const PageImage page = parsePageImage(bytes);
    ASSERT_EQ(ofType(page, RecordType::ExtTextOutW)[0]->text.chars, u"\uFEFF11");

    const QImage img = playAtUnitScale(page);
    const Ink digits = inkIn(img, QRect(950, 980, 200, 80));
    EXPECT_GE(digits.left, 1000 + 18); // after the first cell, 18 units wide
    EXPECT_LE(digits.right, 1000 + 53);
    EXPECT_GT(digits.right, 1000 + 36); // two digits, not one
}

TEST(PagePlayer, PlaysIntoA4LandscapePdf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const PageImage page = parsePageImage(samplePage().bytes());
    const QString file = dir.filePath(QStringLiteral("page.pdf"));
    {
        QPdfWriter pdf(file);
        pdf.setResolution(1200);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(0, 0, 0, 0)));
        QPainter p;
        ASSERT_TRUE(p.begin(&pdf));
        // Layout (0, 0) is the corner of the sheet; a unit is 0.1 mm of it.
        const QSizeF mm = qd::qt::pagePaperSizeMm(page);
        EXPECT_EQ(mm, QSizeF(296, 209));
        const double dpmm = pdf.resolution() / 25.4;
        qd::qt::playPage(page, p, QRectF(0, 0, mm.width() * dpmm, mm.height() * dpmm));
        ASSERT_TRUE(p.end());
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_TRUE(pdf.contains("IPAGothic") || pdf.contains("NotoSansMonoCJKjp"));
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 842")); // A4 landscape in points
}
