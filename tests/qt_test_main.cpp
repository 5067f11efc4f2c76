#include <QApplication>
#include <gtest/gtest.h>

#include <clocale>

// Each test program names the Qt platform it runs on (offscreen or xcb).
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS(); // no display needed to list
    qputenv("QT_QPA_PLATFORM", STENOVA_TEST_PLATFORM);
#ifdef STENOVA_ACCESSIBILITY_ON
    // The accessibility bridge is on, as a screen reader would have it.
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("stenova"));
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
