// The window tests run inside one QApplication (on a display: xvfb-run -a), with the 3D
// view's windows registered as the desktop program registers them.
#include "app/view_windows.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("MeshwrightTests"));
    mw::registerViewWindows();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
