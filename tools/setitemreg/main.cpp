// setitemreg: the set-item registration tool, in the install folder it is started in.
#include <memory>

#include "platform/qt/tool_window.h"
#include "tools/setitemreg/forms/sethin.h"

int main(int argc, char **argv)
{
    qd::setitemreg::SethinState g;
    return qd::qt::runTool(argc, argv,
                           {QStringLiteral("setitemreg"), {QStringLiteral("\\data")}, [&g]() -> std::unique_ptr<QWidget> {
                                g.INST_DIR = qd::qt::installFolder();
                                auto window = std::make_unique<qd::setitemreg::SETHIN>(g);
                                window->Form_Load();
                                return window;
                            }});
}
