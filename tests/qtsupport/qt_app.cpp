// One application object for all the tests of a GUI test executable, on the offscreen platform
// unless another one is asked for. The application takes the executable's own name.
#include <QApplication>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QApplication::instance()) {
            QApplication::setApplicationName(QString::fromStdString(m_name));
            m_app = new QApplication(m_argc, m_argv);
        }
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    int m_argc = 1;
    std::string m_name = program_invocation_short_name;
    char *m_argv[2] = {m_name.data(), nullptr};
    QApplication *m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment *const g_env =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
