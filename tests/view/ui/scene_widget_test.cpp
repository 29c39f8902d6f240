// The 3D view's surfaces on a real display: the same pixels as off screen, the mouse
// turning the scene, the camera picture in its fixed rectangle.
#include "view/ui/camera_window.h"
#include "view/ui/scene_widget.h"
#include "view/view_scenes.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace mw {
namespace {

bool lit(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) != 0;
}

TEST(SceneWidget, DrawsTheSelectedSubgroupAndTurnsWithTheMouse)
{
    State state;
    state.gmdc = test::two_triangle_gmdc();
    ViewState view;
    view.selected_object = 1;
    view.selected_subgroup = 1; // vertex 3 on bone 1 alone: the right triangle
    DisplayOptions options;
    options.gmdcView = true;
    SceneWidget widget(state, view, [&] { return options; });
    widget.resize(640, 480);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    const QImage image = widget.grabFramebuffer();
    ASSERT_TRUE(widget.glUsable());
    // Triangle centres at (-0.7, -0.17) and (0.7, -0.17): pixels (204, 268) and (436, 268).
    EXPECT_FALSE(lit(image, 204, 268));
    EXPECT_TRUE(lit(image, 436, 268));
    options.bodyEditing = true;
    view.selected_subgroup = 0; // byte 0 of vertex 0 is slot 0
    EXPECT_TRUE(lit(widget.grabFramebuffer(), 204, 268));

    QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&widget, QPoint(140, 90));
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, QPoint(140, 90));
    EXPECT_EQ(view.rot_y, 20);
    EXPECT_EQ(view.rot_x, -5);
    for (int i = 0; i < 40; ++i) {
        QWheelEvent wheel(QPointF(50, 50), widget.mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120), Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&widget, &wheel);
    }
    EXPECT_FLOAT_EQ(view.camera_distance, -0.2f); // stops in front of the eye
}

TEST(CameraWindow, DrawsOnlyWhenAskedInsideItsRectangle)
{
    State state;
    MeshModel wall;
    wall.vertices = {{-9, -9, 0}, {9, -9, 0}, {9, 9, 0}, {-9, 9, 0}};
    wall.uvs.resize(4);
    wall.faces = {{1, 2, 3}, {1, 3, 4}};
    state.models.models = {wall};
    ViewState view;
    CameraWindow window(state);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), "Form8");
    CameraWidget& widget = *window.findChild<CameraWidget*>();
    EXPECT_FALSE(lit(widget.grabFramebuffer(), 100, 300)); // nothing before the button
    window.findChild<QPushButton*>("Command1")->click();
    const QImage image = widget.grabFramebuffer();
    const int bottom = widget.height() - 1; // the rectangle is counted from the bottom
    EXPECT_TRUE(lit(image, 10, bottom - 210));
    EXPECT_TRUE(lit(image, 369, bottom - 669));
    EXPECT_FALSE(lit(image, 9, bottom - 300));
    EXPECT_FALSE(lit(image, 370, bottom - 300));
    EXPECT_FALSE(lit(image, 100, bottom - 209));
}

} // namespace
} // namespace mw
