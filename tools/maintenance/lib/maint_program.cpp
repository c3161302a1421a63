#include "tools/maintenance/lib/maint_program.h"

#include "platform/qt/tool_window.h"
#include "tools/maintenance/lib/list_editor.h"
#include "tools/maintenance/lib/list_tools.h"
#include "tools/maintenance/lib/sysfm.h"

#include <cstring>

namespace qd::maint {

namespace {
const char *const kPrograms[] = {"groupmaint", "sectmaint", "classmaint", "colormaint",
                                 "itemmaint",  "glassmaint", "partnermaint", "ownmaint"};
} // namespace

const char *const *maintenancePrograms(int *count)
{
    *count = static_cast<int>(std::size(kPrograms));
    return kPrograms;
}

std::unique_ptr<QWidget> openMaintenanceTool(const char *program)
{
    if (std::strcmp(program, "ownmaint") == 0) {
        auto form = std::make_unique<SYSFM>();
        form->Form_Load();
        return form;
    }
    const ListTool *tool = findListTool(program);
    if (!tool)
        return nullptr;
    auto form = std::make_unique<ListEditor>(*tool);
    form->Form_Load();
    return form;
}

int runMaintenanceTool(int argc, char **argv, const char *program)
{
    const ListTool *tool = findListTool(program);
    qd::qt::ToolStart start;
    start.program = QString::fromUtf8(program);
    start.requiredFolders = {QString::fromUtf8(tool ? tool->folder : "\\data")};
    start.open = [program] { return openMaintenanceTool(program); };
    return qd::qt::runTool(argc, argv, start);
}

} // namespace qd::maint
