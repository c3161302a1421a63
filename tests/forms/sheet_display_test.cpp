// The sheet's column captions, the window caption, and the display settings files with their
// defaults and zoom.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "quotedesk/core/qd_state.h"
#include "quotedesk/sheet/grid_display.h"
#include "quotedesk/sheet/sheet_header.h"
#include "tests/support/temp_install.h"

using qd::core::Fixed4;
using qd::core::GridDisplaySettings;
using qd::core::QdState;

namespace qd::testing {
namespace {

struct RecordingUi : qd::sheet::DisplayUi {
    std::vector<std::pair<std::string, bool>> menus, controls;
    std::vector<bool> storeWidths;
    void setMenuVisible(const std::string &n, bool v) override { menus.emplace_back(n, v); }
    void setControlVisible(const std::string &n, bool v) override { controls.emplace_back(n, v); }
    void setStoreWidthsEnabled(bool e) override { storeWidths.push_back(e); }
};

class SheetDisplay : public ::testing::Test {
protected:
    SheetDisplay()
    {
        std::filesystem::create_directories(inst.data());
        g.INST_DIR = inst.dir();
        g.curGrid().setRows(1000);
        g.curGrid().setCols(25);
    }
    std::filesystem::path sitei() const { return inst.data() / "GRID_DISP_SITEI_FILE.fil"; }
    std::filesystem::path nomal() const { return inst.data() / "GRID_DISP_NOMAL_FILE.fil"; }

    static GridDisplaySettings stored()
    {
        GridDisplaySettings s;
        s.ROW_HEIGHT_0 = Fixed4::fromInt(700);
        s.ROW_HEIGHT_1 = Fixed4::fromInt(300);
        for (int n = 0; n < 25; ++n)
            s.COL_WIDTH[static_cast<std::size_t>(n)] = Fixed4::fromInt(500 + 10 * n);
        s.COL_WIDTH[3] = Fixed4::fromRaw(12505000); // 1250.5 twips: half to even
        s.ZOOM = 120;
        return s;
    }

    TempInstall inst{TempInstall::Content::Empty};
    QdState g;
    RecordingUi ui;
};

TEST_F(SheetDisplay, RecordBytesFollowTheLayout)
{
    const std::string b = qd::sheet::encodeGridDisplay(stored());
    ASSERT_EQ(b.size(), 440u);
    EXPECT_EQ(b.substr(0, 8), std::string("\xc0\xcf\x6a\x00\x00\x00\x00\x00", 8)); // 7,000,000
    EXPECT_EQ(b.substr(216, 4), std::string("\x78\x00\x00\x00", 4));
    EXPECT_EQ(b.substr(220, 218), std::string(218, ' '));
    EXPECT_EQ(b.substr(438), "\n\n");
    const GridDisplaySettings back = qd::sheet::decodeGridDisplay(b);
    EXPECT_EQ(back.COL_WIDTH, stored().COL_WIDTH);
    EXPECT_EQ(back.ZOOM, 120);
    EXPECT_THROW(qd::sheet::decodeGridDisplay(b.substr(0, 439)), std::invalid_argument);
}

TEST_F(SheetDisplay, StoredSetIsAppliedWithItsZoom)
{
    // 440 bytes count one record of 512; so does a file with bytes after the record.
    for (const std::string &tail : {std::string(), std::string(72, 'x')}) {
        writeBytes(sitei(), qd::sheet::encodeGridDisplay(stored()) + tail);
        qd::sheet::GRID_DISP_SITEI_SET(g, ui);
        const qd::grid::FlexGrid &s = g.curGrid();
        EXPECT_EQ(s.rowHeight(0), 700);
        EXPECT_EQ(s.rowHeight(1), 300);
        EXPECT_EQ(s.colWidth(0), 500);
        EXPECT_EQ(s.colWidth(3), 1250);
        EXPECT_EQ(s.colWidth(24), 740);
        EXPECT_EQ(g.FONT_PCT, 120);
        EXPECT_NEAR(s.fontSize(), 14.4, 1e-5);
        EXPECT_EQ(s.row(), 0);
        EXPECT_EQ(s.col(), 1);
        EXPECT_EQ(g.DISP_WIDTHS[3], Fixed4::fromRaw(12505000));
        EXPECT_EQ(g.ROW_HEIGHT_1, Fixed4::fromInt(300));
        EXPECT_EQ(g.COL_WIDTH_00, Fixed4::fromInt(500));
    }
    EXPECT_TRUE(ui.storeWidths.empty()); // the chosen-columns set leaves the button alone
    const std::vector<std::pair<std::string, bool>> menus = {
        {"IRO_SETTEI", true},   {"GARASU_000", true},    {"SERCH_000", false},  {"HOJYO_GARASU", true},
        {"HOJYO_MAKER", true},  {"HOJYO_IRO", true},     {"HOJYO_CIHO", true},  {"HOJYO_TANKA", true},
        {"HOJYO_HINSYU1", true}, {"HOJYO_HINSYU2", true}, {"HOJYO_BUNRUI", true}, {"HOJYO_SETHIN", true}};
    EXPECT_EQ(std::vector(ui.menus.begin(), ui.menus.begin() + 12), menus);
    EXPECT_EQ(ui.controls[0], std::make_pair(std::string("Label9"), false));
    EXPECT_EQ(ui.controls[1], std::make_pair(std::string("Text5"), false));
}

TEST_F(SheetDisplay, MissingShortOrUnusableFilesGiveTheDefaults)
{
    GridDisplaySettings negative = stored();
    negative.COL_WIDTH[7] = Fixed4::fromInt(-50);
    GridDisplaySettings noZoom = stored();
    noZoom.ZOOM = 0;
    const struct {
        const char *what;
        std::optional<std::string> bytes;
    } cases[] = {
        {"missing", std::nullopt},
        {"empty", std::string()},
        {"256 bytes: no record", qd::sheet::encodeGridDisplay(stored()).substr(0, 256)},
        {"300 bytes: a record cut short", qd::sheet::encodeGridDisplay(stored()).substr(0, 300)},
        {"a width no sheet takes", qd::sheet::encodeGridDisplay(negative)},
        {"a zoom of 0", qd::sheet::encodeGridDisplay(noZoom)},
    };
    for (const auto &c : cases) {
        std::filesystem::remove(nomal());
        if (c.bytes)
            writeBytes(nomal(), *c.bytes);
        g.curGrid().setFontSize(9);
        qd::sheet::GRID_DISP_NOMAL_SET(g, ui);
        const qd::grid::FlexGrid &s = g.curGrid();
        EXPECT_EQ(s.rowHeight(0), 680) << c.what;
        EXPECT_EQ(s.rowHeight(1), 280) << c.what;
        EXPECT_EQ(s.colWidth(0), 300) << c.what; // wide enough for "頁" and a page number
        EXPECT_EQ(s.colWidth(2), 4340) << c.what;
        EXPECT_EQ(s.colWidth(7), 20) << c.what;
        EXPECT_EQ(s.colWidth(24), 1300) << c.what;
        EXPECT_EQ(g.FONT_PCT, 100) << c.what;
        EXPECT_DOUBLE_EQ(s.fontSize(), 12.0) << c.what;
        EXPECT_TRUE(std::filesystem::exists(nomal())) << c.what; // created when missing
    }
    ASSERT_FALSE(ui.storeWidths.empty());
    EXPECT_FALSE(ui.storeWidths.back()); // the all-columns set disables 巾記憶
}

TEST_F(SheetDisplay, StoredWidthsAreReadBackNextTime)
{
    qd::grid::FlexGrid &s = g.curGrid();
    s.setRowHeight(0, 650);
    s.setRowHeight(1, 310);
    for (int n = 0; n < 25; ++n)
        s.setColWidth(n, 100 + n);
    g.FONT_PCT = 130;
    writeBytes(sitei(), std::string(600, 'z')); // a longer file keeps what follows the record
    qd::sheet::GRID_DISP_SITEI_OPEN(g);
    qd::sheet::GRID_DISP_SITEI_CLEAR(g);
    qd::sheet::GRID_DISP_SITEI_SAVE(g);
    const std::string bytes = readBytes(sitei());
    ASSERT_EQ(bytes.size(), 600u);
    EXPECT_EQ(bytes.substr(440), std::string(160, 'z'));
    std::filesystem::remove(sitei());
    qd::sheet::GRID_DISP_SITEI_OPEN(g);
    qd::sheet::GRID_DISP_SITEI_SAVE(g);
    EXPECT_EQ(std::filesystem::file_size(sitei()), 440u);

    QdState fresh;
    fresh.INST_DIR = inst.dir();
    fresh.curGrid().setRows(1000);
    fresh.curGrid().setCols(25);
    qd::sheet::GRID_DISP_SITEI_SET(fresh, ui);
    EXPECT_EQ(fresh.curGrid().rowHeight(0), 650);
    EXPECT_EQ(fresh.curGrid().colWidth(24), 124);
    EXPECT_NEAR(fresh.curGrid().fontSize(), 15.6, 1e-5);
}

TEST(SheetHeader, CaptionsAlignmentAndWidths)
{
    QdState g;
    qd::grid::FlexGrid &s = g.curGrid();
    s.setRows(1000);
    s.setCols(25);
    for (int n = 0; n < 25; ++n)
        g.DISP_WIDTHS[static_cast<std::size_t>(n)] = Fixed4::fromInt(1000 + n);
    g.DISP_WIDTHS[5] = Fixed4::fromRaw(12515000); // 1251.5 -> 1252
    qd::sheet::GRID_HEADER_SET(g);
    const char *const captions[25] = {"頁",     "日付",   "品名",   "呼称",     "Wﾐﾘ",     "Hﾐﾘ",
                                      "Dﾐﾘ",    "平米/立米単価",    "色名",     "数量",    "単位",
                                      "率区分", "掛率",   "定価",   "単価",     "金額",    "備考",
                                      "原価率", "原価",   "原価金額", "粗利額", "発注品番", "品番",
                                      "消費税率", "消費税額(端数処理後)"};
    for (int c = 0; c < 25; ++c) {
        EXPECT_EQ(s.cell(0, c), captions[c]) << c;
        EXPECT_EQ(s.colAlignment(c), qd::grid::Align::CenterCenter) << c;
    }
    EXPECT_EQ(s.colWidth(0), 1000);
    EXPECT_EQ(s.colWidth(5), 1252);
    EXPECT_EQ(s.rows(), 1000);
}

TEST(SheetHeader, WindowCaptionFromTheThreeModes)
{
    const struct {
        int disp, unit, size;
        const char *caption;
    } cases[] = {
        {0, 1, 0, "quotedesk 【全列表示】  【計算単位１円】 【寸法:印刷しない】"},
        {1, 100, 2, "quotedesk 【指定項目表示】  【計算単位１００円】  【寸法:尺印刷】"},
        {1, 10, 1, "quotedesk 【指定項目表示】  【計算単位１０円】  【寸法:ﾐﾘ印刷】"},
        {0, 1000, 1, "quotedesk 【全列表示】  【計算単位１０００円】 【寸法:ﾐﾘ印刷】"},
        // Values without a piece keep the piece set before.
        {0, 7, 9, "quotedesk 【全列表示】  【計算単位１０００円】 【寸法:ﾐﾘ印刷】"},
    };
    QdState g;
    for (const auto &c : cases) {
        g.DISP_MODE = static_cast<std::int16_t>(c.disp);
        g.CALC_UNIT = static_cast<std::int16_t>(c.unit);
        g.SIZE_MODE = static_cast<std::int16_t>(c.size);
        EXPECT_EQ(qd::sheet::composeKihonCaption(g).value_or("-"), c.caption);
    }
    g.DISP_MODE = 2;
    EXPECT_FALSE(qd::sheet::composeKihonCaption(g).has_value());
}

} // namespace
} // namespace qd::testing
