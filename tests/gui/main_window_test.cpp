// The main window driven by objectName and the windows it opens: the four steps against
// meshwright-cli, button states, unsaved changes, undo, scaling, group editor, wizard.
#include "gui_test_support.h"

#include "app/group_editor.h"
#include "gmdc/gmdc_reader.h"
#include "merge/merge_pass.h"
#include "wizard/ui/wizard_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace mw::test {
namespace {

TEST_F(GuiTest, StepsWriteTheCommandLinesBytesAndAnUndoneMergeRunsAgainFromTheLoadedGmdc)
{
    answer({example("example_edited.obj"), example("example.5gd"), dir.file("gui.5gd"), dir.file("again.5gd")});
    click("cmdBrowse");
    click("cmdLoadExistingGMDC");
    const GmdcFile loaded = document->state().gmdc;
    click("cmdSaveToOrv");
    click("cmdSaveToOrv"); // a second copy: the merge is not run again
    ASSERT_EQ(cli({"merge", example("example_edited.obj"), example("example.5gd"), "-o", dir.file("cli.5gd")}).status,
              0);
    EXPECT_EQ(read_file(dir.file("gui.5gd")), read_file(dir.file("cli.5gd")));
    EXPECT_EQ(read_file(dir.file("again.5gd")), read_file(dir.file("cli.5gd")));
    EXPECT_EQ(dialogs.messages().count(QStringLiteral("Save Complete")), 2);
    EXPECT_FALSE(document->isModified());

    const GmdcFile merged = document->state().gmdc;
    trigger("mnuEditUndo");
    EXPECT_EQ(document->state().gmdc, loaded);
    click("cmdSaveToOrv"); // save dialog cancelled
    EXPECT_EQ(document->state().gmdc, merged);
    inGroupEditor([](QWidget* e) { e->findChild<QCheckBox*>(QStringLiteral("Check3"))->setChecked(false); });
    click("cmdSaveToOrv");
    State expected = document->state();
    expected.gmdc = loaded;
    NullSink quiet;
    ImportOptions noPolygons;
    noPolygons.importPolygons = false;
    ASSERT_TRUE(merge_models_into_gmdc(expected, noPolygons, quiet));
    EXPECT_EQ(document->state().gmdc, expected.gmdc);
}

TEST_F(GuiTest, TitleAndButtonStatesFollowWhatIsLoadedAndRefusedFilesChangeNothing)
{
    EXPECT_EQ(window->windowTitle(), QLatin1String("Meshwright by Orla & Brannock v" MESHWRIGHT_VERSION));
    write_file(dir.file("no_normals.obj"), "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n");
    write_file(dir.file("MODEL.SMD"), "version 1\nnodes\n0 \"root\" -1\nend\nskeleton\ntime 0\n0 0 0 0 0 0 0\nend\n"
                                      "triangles\nmat\n0 0 0 0 0 0 1 0 0\n0 1 0 0 0 0 1 1 0\n0 0 1 0 0 0 1 0 1\nend\n");
    write_file(dir.file("broken.5gd"), "not a GMDC");
    // Each click is answered with its file ("" cancels); the button states after it.
    const std::tuple<const char*, std::string, const char*> steps[] = {
        {"cmdBrowse", dir.file("no_normals.obj"), "0000"},
        {"cmdBrowse", dir.file("MODEL.SMD"), "1000"},
        {"cmdLoadExistingGMDC", dir.file("broken.5gd"), "1000"},
        {"Label9", example("example.5gd"), "1111"},
        {"cmdBrowse", example("example_edited.obj"), "1000"}};
    for (const auto& [button, file, states] : steps) {
        answer({file});
        click(button);
        std::string now;
        for (const char* b : {"cmdLoadExistingGMDC", "Command3", "cmdSaveToOrv", "cmdConvertObj"})
            now += find(b)->isEnabled() ? '1' : '0';
        EXPECT_EQ(now, states) << button << " " << file;
    }
    EXPECT_TRUE(dialogs.messages().first().contains(QLatin1String("normals")));
}

TEST_F(GuiTest, UnsavedChangesAreAskedAboutBeforeClosingOrReplacing)
{
    window->show();
    ASSERT_TRUE(window->openFiles({q(example("example_edited.obj")), q(example("example.5gd"))}));
    EXPECT_TRUE(window->close()); // nothing unsaved: no question
    EXPECT_EQ(dialogs.count("question"), 0);

    window->show();
    click("cmdSaveToOrv"); // merged, save dialog cancelled
    dialogs.questionAnswers = {QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Save};
    EXPECT_FALSE(window->close());
    click("cmdBrowse"); // a load would replace the records
    EXPECT_EQ(dialogs.count("open"), 0);
    answer({dir.file("kept.5gd")});
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(file_exists(dir.file("kept.5gd")));
    EXPECT_EQ(dialogs.count("question"), 3);
}

TEST_F(GuiTest, ScaleSettingsScaleConvertToObjAndImportsAndAWrongTextCountsAsHundred)
{
    EXPECT_TRUE(window->openFiles({q(example("example.5gd")), q(example("example_edited.obj"))}));
    trigger("mnuFileScale"); // applied values are stored and read when used
    find<QLineEdit>(window->scalingOptions(), "txtScaleToObj")->setText(QStringLiteral("250"));
    click(window->scalingOptions(), "Command1");
    answer({dir.file("gui.obj")});
    click("cmdConvertObj");
    ASSERT_EQ(cli({"to-obj", example("example.5gd"), "-o", dir.file("cli.obj"), "--scale", "250"}).status, 0);
    EXPECT_EQ(read_file(dir.file("gui.obj")), read_file(dir.file("cli.obj")));
    EXPECT_TRUE(dialogs.asked.last().text.endsWith(QLatin1String("example.obj")));

    EXPECT_TRUE(window->openFiles({q(example("example.obj"))}));
    const Vec3f plain = document->state().models.models[0].vertices[0];
    for (const auto& [text, factor] : {std::pair{"50", 0.5f}, std::pair{"fifty", 1.0f}}) {
        QSettings().setValue(QStringLiteral("Settings/ScaleFromObj"), QLatin1String(text));
        EXPECT_TRUE(window->openFiles({q(example("example.obj"))}));
        EXPECT_FLOAT_EQ(document->state().models.models[0].vertices[0].y, plain.y * factor) << text;
    }
    EXPECT_TRUE(find<QPlainTextEdit>("Text1")->toPlainText().contains(QLatin1String("\"fifty\"")));
    EXPECT_FALSE(window->openFiles({q(dir.file("notes.txt"))}));
}

TEST_F(GuiTest, GroupEditorCommitRoundsHalvesToEvenRefusesLongNamesAndItsFrameDestroysIt)
{
    ASSERT_TRUE(window->openFiles({q(example("example_edited.obj")), q(example("example.5gd"))}));
    auto commit = [&](const QString& name, const char* opacity) {
        inGroupEditor([&](QWidget* e) {
            find<QListWidget>(e, "List1")->setCurrentRow(0);
            find<QLineEdit>(e, "txtName")->setText(name);
            find<QLineEdit>(e, "txtOpacity")->setText(QLatin1String(opacity));
            find<QCheckBox>(e, "Check2")->setChecked(false);
            click(e, "Command1");
        });
    };
    const std::pair<const char*, int> opacities[] = {{"2.5", 2}, {"3.5", 4}, {"lots", 0}, {"-1", -1}};
    for (const auto& [text, stored] : opacities) {
        commit(QString(255, QLatin1Char('n')), text);
        EXPECT_EQ(document->state().gmdc.objects[0].opacity, stored) << text;
    }
    commit(QString(256, QLatin1Char('m')), "5");
    EXPECT_EQ(document->state().gmdc.objects[0].name, std::string(255, 'n'));
    EXPECT_EQ(document->state().gmdc.objects[0].opacity, -1);
    EXPECT_TRUE(dialogs.messages().last().contains(QLatin1String("255")));

    // Its Close hid it with its states kept; closed from its frame, it starts afresh.
    QPointer<GroupEditor> first = window->groupEditor();
    EXPECT_FALSE(window->importOptions().importUVs);
    QTimer::singleShot(0, [&] { first->close(); });
    click("Command3");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    EXPECT_TRUE(window->importOptions().importUVs);
}

TEST_F(GuiTest, WizardBuildsTheGmdcAndShapeOfTheCommandLineAfterACancelledSave)
{
    click("Command2");
    WizardWindow* w = window->wizardWindow();
    answer({example("example.obj"), "", example("example.obj"), dir.file("gui.5gd"), dir.file("gui_shpe.simpe")});
    dialogs.questionAnswers = {QMessageBox::Discard}; // the unsaved object of the cancelled save
    for (int run = 0; run < 2; ++run) {
        click(w, "Label11");
        click(w, "Label10");
        find<QCheckBox>(w, "Check2")->setChecked(true);
        click(w, "Label10");
        find<QCheckBox>(w, "Check1")->setChecked(true);
        click(w, "Label10");
        EXPECT_EQ(w->page(), 1);
    }
    EXPECT_TRUE(find<QPlainTextEdit>("Text1")->toPlainText().contains(QLatin1String("Nothing was saved")));
    EXPECT_EQ(dialogs.asked.last().text, q(dir.file("test_shpe.simpe"))); // the GMDC's folder
    ASSERT_EQ(cli({"new-object", example("example.obj"), "-o", dir.file("cli.5gd"), "--shape-area", "--shape",
                   dir.file("cli_shpe.simpe"), "--names", "Model_1,Model_2"})
                  .status,
              0);
    EXPECT_EQ(read_file(dir.file("gui.5gd")), read_file(dir.file("cli.5gd")));
    EXPECT_EQ(read_file(dir.file("gui_shpe.simpe")), read_file(dir.file("cli_shpe.simpe")));
    EXPECT_EQ(dialogs.count("save"), 3);
    EXPECT_FALSE(document->isModified());
}

TEST(Program, HelpAndVersionNeedNoDisplayAndFiltersComeInBothLetterCases)
{
    EXPECT_EQ(qtFilterFromPipes(QStringLiteral("Sims 2 Mesh (*.simpe)|*.simpe|All (*.*)| *.*|Mesh: OBJ|*.obj")),
              QLatin1String("Sims 2 Mesh (*.simpe *.SIMPE);;All (*);;Mesh (OBJ obj)")); // ":" splits too
    TempDir dir;
    const std::string program = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + quote(MESHWRIGHT_GUI_PATH);
    const std::string both = program + " --version >" + quote(dir.file("v")) + " && " + program + " --help >/dev/null";
    ASSERT_EQ(std::system(both.c_str()), 0);
    EXPECT_EQ(read_file(dir.file("v")), std::string("meshwright ") + MESHWRIGHT_VERSION + "\n");
}

} // namespace
} // namespace mw::test
