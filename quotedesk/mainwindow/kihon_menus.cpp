// The menus of the main window: one table of their entries (parent, name, caption, command), the
// menus that wait for a document, and the entries of the launcher.
#include "quotedesk/mainwindow/kihon.h"

#include <QMenuBar>

#include <vector>

#include "quotedesk/core/command_recovery.h"
#include "quotedesk/mainwindow/launcher.h"

namespace qd::forms {

namespace {

using Row = qd::qt::MenuRow<KIHON>;
constexpr qd::qt::MenuKind MENU = qd::qt::MenuKind::Menu;
constexpr qd::qt::MenuKind ITEM = qd::qt::MenuKind::Item;
constexpr qd::qt::MenuKind SEPARATOR = qd::qt::MenuKind::Separator;
const char *const LINE = "---------------";

// A command of another part of the program: nothing happens until that part has set it.
void runHook(const std::function<void()> &hook)
{
    if (hook)
        hook();
}

// Every entry in menu order. The launcher entries start their programs (launchTable()).
const std::vector<Row> &menuTable()
{
    static const std::vector<Row> rows = {
        {MENU, "", "FILE_000", "ﾌｧｲﾙ"},
        {ITEM, "FILE_000", "FILE_NEW", "新規", &KIHON::FILE_NEW_Click},
        {ITEM, "FILE_000", "FILE_READ", "読込み/削除", &KIHON::FILE_READ_Click},
        {ITEM, "FILE_000", "FILE_WRITE", "保存", &KIHON::FILE_WRITE_Click},

        {MENU, "", "KEISAN_000", "計算単位"},
        {ITEM, "KEISAN_000", "IRO_SETTEI", "色指定　又は　指定範囲行", &KIHON::IRO_SETTEI_Click},
        {ITEM, "KEISAN_000", "KEISAN_001", "１円（指定範囲行）", [](KIHON &k) { k.KEISAN_Click(1); }},
        {ITEM, "KEISAN_000", "KEISAN_010", "１０円（指定範囲行）", [](KIHON &k) { k.KEISAN_Click(10); }},
        {ITEM, "KEISAN_000", "KEISAN_100", "１００円（指定範囲行）", [](KIHON &k) { k.KEISAN_Click(100); }},
        {ITEM, "KEISAN_000", "KEISAN_1000", "１０００円（指定範囲行）", [](KIHON &k) { k.KEISAN_Click(1000); }},

        {MENU, "", "GARASU_000", "寸法の印刷設定"},
        {ITEM, "GARASU_000", "GARASU_MIRI", "（全行）ﾐﾘ寸法を表示", &KIHON::GARASU_MIRI_Click},
        {ITEM, "GARASU_000", "GARASU_SYAKU", "（全行）尺寸法を表示", &KIHON::GARASU_SYAKU_Click},
        {ITEM, "GARASU_000", "GARASU_DEL", "（全行）ﾐﾘ寸法を非表示", &KIHON::GARASU_DEL_Click},

        {MENU, "", "ZOKUSEI_000", "属性"},
        {ITEM, "ZOKUSEI_000", "ZOKUSEI_OWN", "ownmaint"},
        {ITEM, "ZOKUSEI_000", "SYOHIZEI_000", "消費税率の設定", &KIHON::SYOHIZEI_000_Click},
        {ITEM, "ZOKUSEI_000", "NOMAL_WIDTH", "全項目の表示", &KIHON::NOMAL_WIDTH_Click},
        {ITEM, "ZOKUSEI_000", "SITEI_WIDTH", "【指定項目】のみ表示", &KIHON::SITEI_WIDTH_Click},

        {MENU, "", "SERCH_000", "検索"},
        {ITEM, "SERCH_000", "INPUT_bukkenmei", "現在の物件名を品名へ読込", &KIHON::INPUT_bukkenmei_Click},
        {SEPARATOR, "SERCH_000", "HOJYO_filler99", LINE},
        {ITEM, "SERCH_000", "SERCH_SYOHIN", "pricemaint", &KIHON::SERCH_SYOHIN_Click},
        {ITEM, "SERCH_000", "SERCH_SETHIN", "セット品", &KIHON::SERCH_SETHIN_Click},
        {SEPARATOR, "SERCH_000", "HOJYO_filler96", LINE},
        {ITEM, "SERCH_000", "SERCH_SELECT_OUT", "SELECT品登録", [](KIHON &k) { runHook(k.hooks.SERCH_SELECT_OUT_Click); }},
        {ITEM, "SERCH_000", "SERCH_SELECT_IN", "SELECT品挿入", [](KIHON &k) { runHook(k.hooks.SERCH_SELECT_IN_Click); }},
        {SEPARATOR, "SERCH_000", "HOJYO_filler97", LINE},
        {ITEM, "SERCH_000", "SERCH_GARASU", "itemmaint", &KIHON::SERCH_GARASU_Click},
        {SEPARATOR, "SERCH_000", "HOJYO_filler95", LINE},
        {ITEM, "SERCH_000", "HENSYU_MENU_DISP", "編集ﾒﾆｭｰの表示", &KIHON::HENSYU_MENU_DISP_Click},
        {SEPARATOR, "SERCH_000", "HOJYO_filler94", LINE},
        {ITEM, "SERCH_000", "all_grid_calc", "全行再計算", &KIHON::all_grid_calc_Click},

        {MENU, "", "PRN_000", "印刷"},
        {ITEM, "PRN_000", "ZOKUSEI_PRN", "ﾌﾟﾘﾝﾀｰ設定"},
        {ITEM, "PRN_000", "ZOKUSEI_MIT", "見積情報", &KIHON::ZOKUSEI_MIT_Click},
        {ITEM, "PRN_000", "PRN_HAKKOBI", "発行日の設定", [](KIHON &k) { runHook(k.hooks.PRN_HAKKOBI_Click); }},
        {ITEM, "PRN_000", "PRN_PRINT", "印刷実行", [](KIHON &k) { runHook(k.hooks.PRN_PRINT_Click); }},

        {MENU, "", "HYO_000", "表計算"},
        {ITEM, "HYO_000", "HYO_123", "ロータス１２３"},
        {ITEM, "HYO_000", "HYO_EXCEL", "ＥＸＣＥＬ"},

        {MENU, "", "HOJYO_000", "ファイル補助"},
        {ITEM, "HOJYO_000", "HOJYO_TOKUI", "取引先名情報"},
        {ITEM, "HOJYO_000", "HOJYO_MAKER", "groupmaint"},
        {ITEM, "HOJYO_000", "HOJYO_BUNRUI", "classmaint"},
        {ITEM, "HOJYO_000", "HOJYO_HINSYU1", "kind1maint"},
        {ITEM, "HOJYO_000", "HOJYO_HINSYU2", "kind2maint"},
        {ITEM, "HOJYO_000", "HOJYO_IRO", "colormaint"},
        {ITEM, "HOJYO_000", "HOJYO_CIHO", "sectmaint"},
        {ITEM, "HOJYO_000", "HOJYO_TANKA", "pricemaint"},
        {ITEM, "HOJYO_000", "HOJYO_GARASU", "itemmaint"},
        {ITEM, "HOJYO_000", "HOJYO_SETHIN", "セット品情報"},
        {SEPARATOR, "HOJYO_000", "HOJYO_filler98", ""},
        {ITEM, "HOJYO_000", "HOJYO_ikkatu_hisyu1", "品種1の率の一括変更"},
        {ITEM, "HOJYO_000", "HOJYO_ikkatu_hisyu2", "品種2の率の一括変更"},

        {MENU, "", "HENKAN_000", "CSVへの相互変換"},
        {ITEM, "HENKAN_000", "HENKAN_010", "groupmaint"},
        {ITEM, "HENKAN_000", "HENKAN_020", "colormaint"},
        {ITEM, "HENKAN_000", "HENKAN_030", "sectmaint"},
        {ITEM, "HENKAN_000", "HENKAN_040", "classmaint"},
        {ITEM, "HENKAN_000", "HENKAN_050", "kind1maint"},
        {ITEM, "HENKAN_000", "HENKAN_060", "kind2maint"},
        {ITEM, "HENKAN_000", "HENKAN_070", "pricemaint"},
        {ITEM, "HENKAN_000", "HENKAN_080", "itemmaint"},

        {ITEM, "", "END_000", "終了", &KIHON::END_000_Click},
    };
    return rows;
}

// The menus that wait for a document.
const char *const DOCUMENT_MENUS[] = {"PRN_000", "SERCH_000", "FILE_WRITE", "ZOKUSEI_MIT",
                                      "ZOKUSEI_000", "KEISAN_000", "GARASU_000"};

} // namespace

void KIHON::buildMenus()
{
    m_menus = std::make_unique<qd::qt::MenuTree>(menuBar());
    m_menus->setRecovery(qd::core::failedCommandRecovery(g));
    m_menus->addRows(menuTable(), *this);
    for (const LaunchEntry &entry : launchTable()) {
        const QString name = QString::fromLatin1(entry.menu);
        m_menus->onClick(name, [this, name] { launchFromMenu(name); });
    }
}

void KIHON::setDocumentMenusEnabled(bool enabled)
{
    for (const char *name : DOCUMENT_MENUS)
        m_menus->setEnabled(QString::fromLatin1(name), enabled);
}

} // namespace qd::forms
