#include <gtest/gtest.h>

#include <QApplication>

// GUI tests need one QApplication for the whole run; the platform is offscreen (set by CTest).
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
