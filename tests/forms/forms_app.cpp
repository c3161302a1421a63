// One application object for all the tests of this folder, on the offscreen platform unless
// another one is asked for.
#include <QApplication>

#include <gtest/gtest.h>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!QApplication::instance()) {
            QApplication::setApplicationName(QStringLiteral("test_forms"));
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
    char m_name[11] = "test_forms";
    char *m_argv[2] = {m_name, nullptr};
    QApplication *m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment *const g_env =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
