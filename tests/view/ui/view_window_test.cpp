// The 3D view's windows on a display (xvfb-run -a): the surfaces, the camera window, and the
// 3D View driven through its controls on the program's document, dialogs answered by script.
#include "app/dialog_service.h"
#include "app/document.h"
#include "app/main_window.h"
#include "app/view_windows.h"
#include "support/cli_run.h"
#include "support/test_support.h"
#include "view/ui/camera_window.h"
#include "view/ui/scene_widget.h"
#include "view/ui/view_window.h"
#include "view/view_scenes.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <filesystem>

namespace mw {
namespace {

const QString kExamples = QStringLiteral(MESHWRIGHT_SOURCE_DIR "/examples");

// What meshwright-cli writes to `out` when run with `args` (quoted for the shell).
std::string cliOutput(const QString& args, const QString& out)
{
    EXPECT_EQ(test::cli((args + " -o '" + out + "'").toStdString()).status, 0) << args.toStdString();
    return test::read_file(out.toStdString());
}

bool lit(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) != 0;
}

TEST(SceneWidget, TurnsAndMovesTheCameraWithTheMouse)
{
    State state;
    ViewState view;
    SceneWidget widget(state, view, [] { return DisplayOptions{}; });
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    ASSERT_TRUE(widget.glUsable());
    QTest::mousePress(&widget, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(&widget, QPoint(140, 90));
    EXPECT_EQ(view.rot_y, 20);
    EXPECT_EQ(view.rot_x, -5);
    QWheelEvent wheel({50, 50}, widget.mapToGlobal(QPointF(50, 50)), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                      false);
    for (int i = 0; i < 40; ++i)
        QApplication::sendEvent(&widget, &wheel);
    EXPECT_FLOAT_EQ(view.camera_distance, -0.2f); // stops in front of the eye
}

TEST(CameraWindow, DrawsOnlyWhenAskedInsideItsRectangle)
{
    State state;
    state.models.models = {test::square("wall", 9)};
    CameraWindow window(state);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), "Form8");
    auto* widget = window.findChild<CameraWidget*>();
    const int y = widget->height() - 1 - 210;            // the rectangle's lowest row, counted from the bottom
    EXPECT_FALSE(lit(widget->grabFramebuffer(), 10, y)); // nothing before the button
    window.findChild<QPushButton*>("Command1")->click();
    const QImage image = widget->grabFramebuffer();
    EXPECT_TRUE(lit(image, 10, y) && lit(image, 369, y - 459)); // 360 x 460 from (10, 210)
    EXPECT_FALSE(lit(image, 9, y) || lit(image, 10, y + 1) || lit(image, 370, y));
}

class ViewWindowTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
        window_ = new ViewWindow(host_);
        host_.setWindow(window_);
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_));
    }
    void TearDown() override { delete window_.data(); }
    template <typename T = QPushButton> T* find(const char* name) { return window_->findChild<T*>(name); }
    void click(const char* name) { find<QAbstractButton>(name)->click(); }
    void menu(const char* name) { window_->menuBar()->findChild<QAction*>(name)->trigger(); }
    std::string saved(const char* name) { return test::read_file(dir_.filePath(name).toStdString()); }
    // The folder or path the last file dialog started at.
    QString lastStart() const
    {
        auto it =
            std::find_if(dialogs_.asked.crbegin(), dialogs_.asked.crend(), [](auto& a) { return a.kind != "message"; });
        return it == dialogs_.asked.crend() ? QString() : it->text;
    }

    QTemporaryDir dir_;
    ScriptedDialogService dialogs_;
    Document document_{dialogs_};
    DocumentViewHost host_{document_, nullptr};
    QPointer<ViewWindow> window_;
};

TEST_F(ViewWindowTest, ControlsStepsAndLimits)
{
    const auto buttons = window_->findChildren<QAbstractButton*>();
    EXPECT_GE(buttons.size(), 31);
    for (const QAbstractButton* b : buttons) // named, reachable by their captions, unticked
        EXPECT_TRUE(!b->objectName().isEmpty() && b->accessibleName() == b->text() && !b->isChecked())
            << b->text().toStdString();
    EXPECT_EQ(window_->windowTitle(), "3D View");
    for (const char* name : {"Command1", "Command1", "Command5", "Command15", "Command15"})
        click(name);
    for (int i = 0; i < 70; ++i)
        click("Command8");
    EXPECT_EQ(window_->viewState().view_distance, -0.5f);
    for (int i = 0; i < 150; ++i)
        click("Command9");
    EXPECT_EQ(window_->viewState().view_distance, -7.5f);
    EXPECT_EQ(std::pair(window_->viewState().rot_x, window_->viewState().rot_y), std::pair(2, -1));
    EXPECT_EQ(window_->viewState().selected_subgroup, -2); // no lower limit
    EXPECT_EQ(find<QLineEdit>("Text3")->text(), "-1");
    EXPECT_FALSE(find<QListWidget>("List2")->isVisible());
    click("Check3");
    EXPECT_TRUE(find<QListWidget>("List2")->isVisible());
}

TEST_F(ViewWindowTest, CommitReplaceAndExportMatchTheCommandLine)
{
    dialogs_.fileAnswers = {kExamples + "/body.obj", kExamples + "/body_mesh.5gd"};
    menu("mnuFileLoad");
    menu("mnuFileLoadGmdc");
    EXPECT_EQ(lastStart(), kExamples); // open dialogs start in the last folder loaded from
    const std::pair<const char*, QString> asked[] = {{"Command7", kExamples},
                                                     {"Command21", kExamples + "/test_obj.obj"},
                                                     {"Command19", kExamples + "/test_smd.smd"}};
    for (const auto& [name, start] : asked) { // all cancelled
        click(name);
        EXPECT_EQ(lastStart(), start) << name;
    }
    click("Check3");
    const int boxes = dialogs_.count("message");
    click("Command11"); // nothing selected: refused, nothing stored
    EXPECT_EQ(dialogs_.count("message"), boxes + 1);
    find<QListWidget>("List1")->setCurrentRow(0);
    EXPECT_EQ(find<QLineEdit>("Text2")->text(), " 0");
    find<QListWidget>("List2")->setCurrentRow(0);
    EXPECT_EQ(find<QLineEdit>("Text1")->text(), "40");
    find<QLineEdit>("Text2")->setText("2");
    click("Command11");
    EXPECT_EQ(document_.state().models.models[0].targetObject, 1);

    dialogs_.fileAnswers = {dir_.filePath("window.5gd")};
    click("Command10"); // Replace: one undo step, then the save dialog
    EXPECT_EQ(lastStart(), kExamples);
    EXPECT_EQ(document_.undoStack()->count(), 1);
    const QString cli5gd = dir_.filePath("cli.5gd");
    EXPECT_EQ(
        saved("window.5gd"),
        cliOutput(QStringLiteral("replace '%1/body.obj' '%1/body_mesh.5gd' --assign 1=1:2").arg(kExamples), cli5gd));

    // The "Objects" frame's Export SMD: the dialog keeps its layout; cancel exports nothing.
    click("Command20");
    auto* dialog = window_->findChild<QDialog*>();
    ASSERT_EQ(dialog->windowTitle(), "Export SMD");
    EXPECT_TRUE(dialog->findChild<QRadioButton*>("Option1")->isChecked());
    dialog->findChild<QRadioButton*>("Option2")->click();
    dialog->findChild<QPushButton*>("CancelButton")->click();
    EXPECT_TRUE(dialog->isHidden());
    dialogs_.fileAnswers = {dir_.filePath("window.smd")};
    click("Command20");
    dialog->findChild<QPushButton*>("OKButton")->click();
    EXPECT_EQ(lastStart(), kExamples);
    EXPECT_EQ(saved("window.smd"),
              cliOutput("export-smd '" + cli5gd + "' --index 1 --single-bone", dir_.filePath("cli.smd")));
}

// A context that cannot be had closes only the 3D View (or camera window), with its
// message; the next "3D View" makes a new window.
TEST_F(ViewWindowTest, NoContextClosesOnlyTheViewWindow)
{
    MainWindow main(document_);
    main.show();
    const auto view = [&main] { return main.findChild<ViewWindow*>(); };
    SceneWidget::simulateContextFailure(true);
    main.findChild<QAction*>("mnuFile3D_view")->trigger();
    main.findChild<QAbstractButton*>("Command5")->click(); // the camera window
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view() && !main.findChild<CameraWindow*>(); }));
    SceneWidget::simulateContextFailure(false);
    EXPECT_EQ(dialogs_.messages(), QStringList(2, kGlFailureMessage));
    EXPECT_TRUE(main.isVisible());
    main.findChild<QAction*>("mnuFile3D_view")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view() && view()->findChild<SceneWidget*>()->glUsable(); }));
    EXPECT_EQ(dialogs_.messages().size(), 2);
}

// The 3D View draws models loaded anywhere (here through the document, as the main window
// loads them) with the bitmaps of their own mesh file's folder.
TEST_F(ViewWindowTest, TexturesComeFromTheLoadedMeshFolder)
{
    MainWindow main(document_);
    QImage bitmap(4, 4, QImage::Format_RGB32);
    for (const char* colour : {"red", "blue"}) { // the same file names in two folders
        const std::string base = dir_.filePath(colour).toStdString();
        std::filesystem::create_directory(base);
        test::write_file(base + "/m.obj",
                         "mtllib m.mtl\ng sq\nv -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 0\nvt 1 0\n"
                         "vt 1 1\nvt 0 1\nvn 0 0 1\nusemtl t\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n");
        test::write_file(base + "/m.mtl", "newmtl t\nmap_Kd t.png\n");
        bitmap.fill(QColor(colour));
        ASSERT_TRUE(bitmap.save(QString::fromStdString(base + "/t.png")));
    }
    for (const auto& [colour, rgb] : {std::pair{"red", 0xFF0000u}, std::pair{"blue", 0x0000FFu}}) {
        ASSERT_TRUE(document_.loadMesh(dir_.filePath(colour) + "/m.obj"));
        main.findChild<QAction*>("mnuFile3D_view")->trigger(); // opened after the first load
        auto* scene = main.findChild<ViewWindow*>()->findChild<SceneWidget*>();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(scene));
        const QImage image = scene->grabFramebuffer();
        EXPECT_EQ(image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFF, rgb) << colour;
    }
}

} // namespace
} // namespace mw

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("MeshwrightTests"));
    mw::registerViewWindows(); // as the desktop program registers them
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
