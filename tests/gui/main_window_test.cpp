// The main window driven by objectName: the four steps against meshwright-cli, button
// states, the unsaved-changes question, undo, files from the command line.
#include "gui_test_support.h"

#include "app/group_editor.h"
#include "app/settings.h"
#include "app/tool_windows.h"
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "merge/merge_pass.h"

#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>

namespace mw::test {
namespace {

// An SMD file whose one model ("object 1") matches the GMDC of smd_gmdc.
const char* const kSmd = "version 1\nnodes\n0 \"root\" -1\nend\nskeleton\ntime 0\n0 0 0 0 0 0 0\nend\n"
                         "triangles\nmat\n0 0 0 0 0 0 1 0 0\n0 1 0 0 0 0 1 1 0\n0 0 1 0 0 0 1 0 1\nend\n";

std::string smd_gmdc(const TempDir& dir)
{
    GmdcFile g;
    NullSink quiet;
    EXPECT_TRUE(readGmdc(g, example("example.5gd"), quiet));
    g.objects[0].name = "object 1";
    EXPECT_TRUE(writeGmdc(g, dir.file("smd_target.5gd"), quiet));
    return dir.file("smd_target.5gd");
}

struct MergeCase {
    const char* name;
    bool smd;
    bool untickAll;
};

class StepsTest : public GuiTest, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(StepsTest, WriteTheBytesOfTheCommandLineAndTheSameBytesAgain)
{
    const MergeCase c = GetParam();
    std::string mesh = example("example_edited.obj");
    std::string gmdc = example("example.5gd");
    if (c.smd) {
        mesh = dir.file("model.SMD"); // any letter case
        write_file(mesh, kSmd);
        gmdc = smd_gmdc(dir);
    }
    answer({mesh, gmdc, dir.file("gui.5gd"), dir.file("again.5gd")});
    click("cmdBrowse");
    click("cmdLoadExistingGMDC");
    if (c.untickAll)
        inGroupEditor([](QWidget* editor) {
            for (const char* box : {"Check1", "Check2", "Check3", "Check4"})
                editor->findChild<QCheckBox*>(QLatin1String(box))->setChecked(false);
        });
    click("cmdSaveToOrv");
    click("cmdSaveToOrv"); // a second copy: the merge is not run again

    std::initializer_list<std::string> args = {"merge", mesh, gmdc, "-o", dir.file("cli.5gd")};
    std::vector<std::string> all(args);
    if (c.untickAll)
        all.insert(all.end(), {"--no-vertices", "--no-normals", "--no-uvs", "--no-polygons"});
    std::string line;
    for (const std::string& a : all)
        line += quote(a) + " ";
    ASSERT_EQ(cli(line).status, 0);
    const std::string expected = read_file(dir.file("cli.5gd"));
    EXPECT_EQ(read_file(dir.file("gui.5gd")), expected);
    EXPECT_EQ(read_file(dir.file("again.5gd")), expected);
    EXPECT_EQ(dialogs.messages().count(QStringLiteral("Save Complete")), 2);
    EXPECT_FALSE(document->isModified());
}

INSTANTIATE_TEST_SUITE_P(Meshes, StepsTest,
                         ::testing::Values(MergeCase{"Obj", false, false}, MergeCase{"ObjUnticked", false, true},
                                           MergeCase{"Smd", true, false}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(GuiTest, ButtonStatesFollowWhatIsLoaded)
{
    auto states = [this] {
        return std::vector<bool>{enabled("cmdBrowse"), enabled("Command2"),     enabled("cmdLoadExistingGMDC"),
                                 enabled("Command3"),  enabled("cmdSaveToOrv"), enabled("cmdConvertObj")};
    };
    const std::vector<bool> start{true, true, false, false, false, false};
    const std::vector<bool> mesh{true, true, true, false, false, false};
    const std::vector<bool> all{true, true, true, true, true, true};
    EXPECT_EQ(states(), start);
    click("cmdBrowse"); // cancelled
    EXPECT_EQ(states(), start);
    write_file(dir.file("no_normals.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n");
    answer({dir.file("no_normals.obj")});
    click("cmdBrowse");
    EXPECT_EQ(states(), start);
    EXPECT_TRUE(dialogs.messages().last().contains(QLatin1String("normals")));

    const std::string upper = dir.file("STOOL.OBJ");
    write_file(upper, read_file(example("example_edited.obj")));
    answer({upper});
    click("cmdBrowse");
    EXPECT_EQ(states(), mesh);
    EXPECT_EQ(find<QLineEdit>("txtInputFile")->text(), q(upper));
    click("cmdLoadExistingGMDC"); // cancelled
    EXPECT_EQ(states(), mesh);
    write_file(dir.file("broken.5gd"), "not a GMDC");
    answer({dir.file("broken.5gd")});
    click("cmdLoadExistingGMDC");
    EXPECT_EQ(states(), mesh);
    answer({example("example.5gd")});
    click("Label9"); // the step's label acts like its button
    EXPECT_EQ(states(), all);
    answer({example("example_edited.obj")});
    click("cmdBrowse"); // the reset empties the GMDC
    EXPECT_EQ(states(), mesh);
}

TEST_F(GuiTest, UnsavedChangesAreAskedAboutBeforeClosingOrReplacing)
{
    window->show();
    answer({example("example_edited.obj"), example("example.5gd")});
    click("cmdBrowse");
    click("cmdLoadExistingGMDC");
    EXPECT_TRUE(window->close()); // nothing unsaved: no question
    EXPECT_EQ(dialogs.count("question"), 0);

    window->show();
    click("cmdSaveToOrv"); // merged, save dialog cancelled
    EXPECT_TRUE(document->isModified());
    dialogs.questionAnswers = {QMessageBox::Cancel};
    EXPECT_FALSE(window->close());
    dialogs.questionAnswers = {QMessageBox::Cancel};
    click("cmdBrowse"); // a load would replace the records
    EXPECT_EQ(dialogs.count("open"), 2);
    dialogs.questionAnswers = {QMessageBox::Save};
    answer({dir.file("kept.5gd")});
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(file_exists(dir.file("kept.5gd")));
    EXPECT_EQ(dialogs.count("question"), 3);

    window->show();
    click("cmdSaveToOrv"); // already merged: nothing new to save
    EXPECT_FALSE(document->isModified());
    document->undoStack()->undo(); // the merge is undone
    EXPECT_TRUE(document->isModified());
    dialogs.questionAnswers = {QMessageBox::Discard};
    EXPECT_TRUE(window->close());
}

TEST_F(GuiTest, UndoingTheMergeMergesAgainAndChangedOptionsStartFromTheLoadedGmdc)
{
    answer({example("example_edited.obj"), example("example.5gd")});
    click("cmdBrowse");
    click("cmdLoadExistingGMDC");
    const GmdcFile loaded = document->state().gmdc;
    click("cmdSaveToOrv");
    const GmdcFile merged = document->state().gmdc;
    EXPECT_NE(merged, loaded);
    trigger("mnuEditUndo");
    EXPECT_EQ(document->state().gmdc, loaded);
    click("cmdSaveToOrv");
    EXPECT_EQ(document->state().gmdc, merged);
    inGroupEditor([](QWidget* e) { e->findChild<QCheckBox*>(QStringLiteral("Check3"))->setChecked(false); });
    click("cmdSaveToOrv");
    State expected;
    expected.gmdc = loaded;
    expected.models = document->state().models;
    NullSink quiet;
    ImportOptions noPolygons;
    noPolygons.importPolygons = false;
    ASSERT_TRUE(merge_models_into_gmdc(expected, noPolygons, quiet));
    EXPECT_EQ(document->state().gmdc, expected.gmdc);
}

TEST_F(GuiTest, ConvertToObjWritesTheCommandLinesObjScaledByTheSetting)
{
    answer({example("example_edited.obj"), example("example.5gd")});
    click("cmdBrowse");
    click("cmdLoadExistingGMDC");
    QSettings().setValue(QStringLiteral("Settings/ScaleToObj"), QStringLiteral("250"));
    answer({dir.file("gui.obj")});
    click("cmdConvertObj");
    ASSERT_EQ(cli({"to-obj", example("example.5gd"), "-o", dir.file("cli.obj"), "--scale", "250"}).status, 0);
    EXPECT_EQ(read_file(dir.file("gui.obj")), read_file(dir.file("cli.obj")));
    EXPECT_TRUE(dialogs.asked.last().text.endsWith(QLatin1String("example.obj")));
}

TEST_F(GuiTest, ScaleFromObjScalesImportedPositionsAndAWrongTextCountsAsHundred)
{
    answer({example("example.obj")});
    click("cmdBrowse");
    const Vec3f plain = document->state().models.models[0].vertices[0];
    for (const auto& [text, factor] : {std::pair{"50", 0.5f}, std::pair{"fifty", 1.0f}}) {
        QSettings().setValue(QStringLiteral("Settings/ScaleFromObj"), QLatin1String(text));
        answer({example("example.obj")});
        click("cmdBrowse");
        EXPECT_FLOAT_EQ(document->state().models.models[0].vertices[0].y, plain.y * factor) << text;
    }
    EXPECT_TRUE(find<QPlainTextEdit>("Text1")->toPlainText().contains(QLatin1String("\"fifty\"")));
}

TEST_F(GuiTest, FilesGivenOnTheCommandLineAreStepsOneAndTwo)
{
    EXPECT_TRUE(window->openFiles({q(example("example.5gd")), q(example("example_edited.obj"))}));
    EXPECT_TRUE(document->hasMesh());
    EXPECT_TRUE(enabled("cmdSaveToOrv"));
    EXPECT_FALSE(window->openFiles({q(dir.file("notes.txt"))}));
    EXPECT_TRUE(find<QLabel>("lblStatus")->text().contains(QLatin1String("example.5gd (2 objects)")));
    EXPECT_EQ(recentFiles().first(), q(example("example.5gd")));

    // Dropping a mesh runs step 1 with it, which empties the GMDC.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(q(example("example.obj")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(document->meshPath(), q(example("example.obj")));
    EXPECT_FALSE(document->hasGmdc());
}

TEST_F(GuiTest, TitleMenuAndLogo)
{
    EXPECT_EQ(window->windowTitle(),
              QLatin1String("Meshwright by Orla & Brannock v") + QLatin1String(MESHWRIGHT_VERSION));
    const QMenu* file = find<QMenu>("mnuFile");
    EXPECT_EQ(file->title(), QLatin1String("&File"));
    const std::pair<const char*, const char*> items[] = {{"mnuFileScale", "Set &Scaling"},
                                                         {"mnuFileAdvanced", "Advanced Mode"},
                                                         {"mnuFile3D_view", "3D View"},
                                                         {"mnuFileExit", "E&xit"}};
    for (const auto& [name, caption] : items)
        EXPECT_EQ(window->findChild<QAction*>(QLatin1String(name))->text(), QLatin1String(caption)) << name;
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("mnuFile3D_view"))->isEnabled(),
              hasToolWindow(ToolWindow::View3D));
    click("Image4");
    ASSERT_EQ(dialogs.count("url"), 1);
    EXPECT_TRUE(dialogs.asked.last().text.endsWith(QLatin1String("/README.md")));
}

TEST(DialogFilters, PairsBecomeQtFilters)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Sims 2 Mesh (*.simpe)|*.simpe|Sims 2 Mesh (*.5gd)|*.5gd",
         "Sims 2 Mesh (*.simpe *.SIMPE);;Sims 2 Mesh (*.5gd *.5GD)"},
        {"Obj File|*.obj", "Obj File (*.obj *.OBJ)"},
        {"GMDC FILE|*.Simpe", "GMDC FILE (*.Simpe *.simpe *.SIMPE)"},
        {"Mesh: OBJ|*.obj", "Mesh (OBJ obj)"}, // ":" splits the description; the lone pattern is dropped
        {"All (*.*)| *.*", "All (*)"},
        {"", "All (*)"},
    };
    for (const auto& [pipes, qt] : cases)
        EXPECT_EQ(qtFilterFromPipes(QLatin1String(pipes)), QLatin1String(qt)) << pipes;
}

TEST(Program, HelpAndVersionNeedNoDisplay)
{
    const std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const std::string program = quote(MESHWRIGHT_GUI_PATH);
    std::FILE* pipe = popen((env + program + " --version").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[128] = {};
    const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, pipe);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(std::string(buffer, n), std::string("meshwright ") + MESHWRIGHT_VERSION + "\n");
    EXPECT_EQ(std::system((env + program + " --help >/dev/null").c_str()), 0);
}

} // namespace
} // namespace mw::test
