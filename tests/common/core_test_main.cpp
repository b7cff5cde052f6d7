#include <gtest/gtest.h>

#include <QCoreApplication>

// Tests of the widget-free core run on a QCoreApplication, as the batch mode does: nothing of
// Qt's GUI modules is linked into them.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
