// The maintenance tools on a master of 10,000 single items: itemmaint's compaction through the
// work copy, and the filling of its sorted list.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <filesystem>

#include "platform/files/safe_replace.h"
#include "platform/qt/list_box.h"
#include "platform/qt/scripted_seam.h"
#include "records/layouts.h"
#include "tests/support/temp_install.h"
#include "tools/maintenance/lib/list_editor.h"
#include "tools/maintenance/lib/list_tools.h"
#include "tools/maintenance/lib/master_file.h"

namespace {

using qd::records::Record;
namespace fs = std::filesystem;

// 10,000 items in an order unlike their codes' (the list has to sort them); every tenth is
// marked deleted, 1,000 in all.
std::string tenThousandItems()
{
    const qd::maint::ListTool &t = *qd::maint::findListTool("itemmaint");
    std::string bytes;
    bytes.reserve(10000 * 128);
    for (int i = 0; i < 10000; ++i) {
        Record r(t.layout());
        const int code = (i * 7919) % 9999 + 1;
        r.setNumber(t.codeField, i % 10 == 9 ? 0 : code, "0000");
        r.setText(t.nameField, "アルミ単品 " + std::to_string(code));
        r.setNumber(t.priceField, 1000 + i, "0000000");
        r.setNumber(t.costField, 700 + i, "0000000");
        r.setSeparators();
        bytes += r.bytes();
    }
    return bytes;
}

struct ItemInstall {
    ItemInstall() : bytes(tenThousandItems())
    {
        fs::create_directories(inst.data());
        old = fs::current_path();
        fs::current_path(inst.path());
        qd::testing::writeBytes(inst.data() / "TANPIN.TXT", bytes);
    }
    ~ItemInstall() { fs::current_path(old); }
    qd::testing::TempInstall inst{qd::testing::TempInstall::Content::Empty};
    std::string bytes;
    fs::path old;
};

void BM_ItemRewrite10k(benchmark::State &state)
{
    ItemInstall s;
    const qd::maint::ListTool &t = *qd::maint::findListTool("itemmaint");
    const std::string dir = s.inst.dir();
    const qd::maint::MasterFile master(t.masterPath(dir), t.workPath(dir), t.layout());
    const std::string firstKey = qd::maint::recordKey(t, master.read(1));
    for (auto _ : state) {
        // The master back as it was, on the disk (not waiting in the cache for the rewrite's
        // flush to write it too).
        state.PauseTiming();
        qd::files::writeFileSafely(t.masterPath(dir), s.bytes);
        state.ResumeTiming();
        // As itemmaint's 削除: the chosen item (record 1) checked, then it and the marked items
        // left out.
        const auto kept = master.rewrite(
            {[&](std::int32_t count, const std::function<const Record &(std::int32_t)> &recordAt) {
                 return count > 0 && qd::maint::recordKey(t, recordAt(1)) == firstKey;
             },
             [&t](std::int32_t n, const Record &r) { return n != 1 && !t.isDeleted(r); }, nullptr});
        benchmark::DoNotOptimize(kept);
    }
}
BENCHMARK(BM_ItemRewrite10k)->Unit(benchmark::kMillisecond);

void BM_ItemListFill10k(benchmark::State &state)
{
    ItemInstall s;
    qd::qt::ScriptedSeam seam;
    qd::qt::SeamGuard guard(seam);
    qd::maint::ListEditor form(*qd::maint::findListTool("itemmaint"));
    for (auto _ : state) {
        form.LIST_FILL();
        benchmark::DoNotOptimize(form.List1->lineCount());
    }
}
BENCHMARK(BM_ItemListFill10k)->Unit(benchmark::kMillisecond);

} // namespace
