// The 3D View as the desktop program opens it: from the main window's menu, on the
// program's document.
#include "app/dialog_service.h"
#include "app/document.h"
#include "app/main_window.h"
#include "gmdc/gmdc_writer.h"
#include "view/ui/view_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QUndoStack>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace mw {
namespace {

const QString kExamples = QStringLiteral(MESHWRIGHT_SOURCE_DIR "/examples/");

// The bytes a save of the document's GMDC would write.
std::string savedBytes(Document& document, const QString& path)
{
    GmdcFile copy = document.state().gmdc;
    RecordingSink sink;
    EXPECT_TRUE(writeGmdc(copy, path.toStdString(), sink));
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ProgramViewWindow, OpensFromTheMenuAndReplaceIsOneUndoStep)
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("settings"));
    ScriptedDialogService dialogs;
    Document document(dialogs);
    MainWindow main(document);
    auto* open = main.findChild<QAction*>("mnuFile3D_view");
    ASSERT_TRUE(open->isEnabled());
    open->trigger();
    QPointer<ViewWindow> view = main.findChild<ViewWindow*>();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->isVisible());

    dialogs.fileAnswers = {kExamples + "body.obj"};
    view->findChild<QAction*>("mnuFileLoad")->trigger(); // through the document
    ASSERT_EQ(document.state().models.models.size(), 1u);
    ASSERT_TRUE(document.loadGmdc(kExamples + "body_mesh.5gd")); // the window follows the document
    ASSERT_EQ(view->findChild<QListWidget*>("List2")->count(), 1);

    view->findChild<QCheckBox*>("Check3")->click();
    view->findChild<QListWidget*>("List1")->setCurrentRow(0);
    view->findChild<QListWidget*>("List2")->setCurrentRow(0);
    view->findChild<QLineEdit*>("Text2")->setText("2");
    view->findChild<QPushButton*>("Command11")->click(); // Commit: no undo step, nothing unsaved
    EXPECT_EQ(document.state().models.models[0].targetObject, 1);
    EXPECT_EQ(document.undoStack()->count(), 0);

    const std::string before = savedBytes(document, dir.filePath("before.5gd"));
    view->findChild<QPushButton*>("Command10")->click(); // Replace; its save step cancelled
    ASSERT_EQ(document.undoStack()->count(), 1);
    EXPECT_TRUE(document.isModified());
    EXPECT_NE(savedBytes(document, dir.filePath("replaced.5gd")), before);
    document.undoStack()->undo();
    EXPECT_EQ(savedBytes(document, dir.filePath("undone.5gd")), before);

    view->close(); // from the frame: the window goes, the next open makes a new one
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(view);
    open->trigger();
    ASSERT_TRUE(main.findChild<ViewWindow*>());
    EXPECT_TRUE(main.findChild<ViewWindow*>()->isVisible());
}

} // namespace
} // namespace mw
