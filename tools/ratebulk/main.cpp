// ratebulk2 (QD_RATEBULK_KIND 2) and ratebulk1 (QD_RATEBULK_KIND 1): one source built twice.
#include <memory>

#include "platform/qt/tool_window.h"
#include "tools/ratebulk/forms/hinsyu2f.h"

#if QD_RATEBULK_KIND == 1
#define QD_RATEBULK_KIND_TABLE qd::ratebulk::kind1()
#else
#define QD_RATEBULK_KIND_TABLE qd::ratebulk::kind2()
#endif

int main(int argc, char **argv)
{
    const qd::ratebulk::RateBulkKind &kind = QD_RATEBULK_KIND_TABLE;
    qd::ratebulk::RateBulkState g(kind);
    return qd::qt::runTool(argc, argv,
                           {QString::fromUtf8(kind.program), {QStringLiteral("\\data")}, [&g]() -> std::unique_ptr<QWidget> {
                                g.INST_DIR = qd::qt::installFolder();
                                auto window = std::make_unique<qd::ratebulk::HINSYU2F>(g);
                                window->Form_Load();
                                return window;
                            }});
}
