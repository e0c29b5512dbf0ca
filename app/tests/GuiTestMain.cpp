// The main of the widget tests: one QApplication for the whole run, on the
// offscreen platform unless the environment chose another.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VeltrixClass"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
