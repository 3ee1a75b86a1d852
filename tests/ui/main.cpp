#include <QApplication>

#include <gtest/gtest.h>

// Widgets need an application object; listing the tests must work without a display.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
