// The windows the main window opens: group editor, scaling options and the wizard.
#include "gui_test_support.h"

#include "app/group_editor.h"
#include "app/scaling_options.h"
#include "app/tool_windows.h"
#include "wizard/ui/wizard_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace mw::test {
namespace {

class GroupEditorTest : public GuiTest {
  protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        answer({example("example_edited.obj"), example("example.5gd")});
        click("cmdBrowse");
        click("cmdLoadExistingGMDC");
    }
    // Selects object 1 in the group editor, types `name` and `opacity` and commits.
    void commit(const QString& name, const QString& opacity)
    {
        inGroupEditor([&](QWidget* e) {
            find<QListWidget>(e, "List1")->setCurrentRow(0);
            find<QLineEdit>(e, "txtName")->setText(name);
            find<QLineEdit>(e, "txtOpacity")->setText(opacity);
            click(e, "Command1");
        });
    }
};

TEST_F(GroupEditorTest, CommitRoundsHalvesToEvenAndRefusesLongNames)
{
    const std::pair<const char*, int> opacities[] = {{"2.5", 2},  {"3.5", 4}, {"-0.5", 0}, {"7.51", 8},
                                                     {"lots", 0}, {"", 0},    {"-1", -1}};
    for (const auto& [text, stored] : opacities) {
        commit(QStringLiteral("seat_2"), QLatin1String(text));
        EXPECT_EQ(document->state().gmdc.objects[0].opacity, stored) << text;
    }
    EXPECT_EQ(document->state().gmdc.objects[0].name, "seat_2");
    EXPECT_TRUE(document->isModified());
    commit(QString(255, QLatin1Char('n')), QStringLiteral("1"));
    EXPECT_EQ(document->state().gmdc.objects[0].name.size(), 255u);
    commit(QString(256, QLatin1Char('m')), QStringLiteral("5"));
    EXPECT_EQ(document->state().gmdc.objects[0].name, std::string(255, 'n'));
    EXPECT_EQ(document->state().gmdc.objects[0].opacity, 1);
    EXPECT_TRUE(dialogs.messages().last().contains(QLatin1String("255")));
}

TEST_F(GroupEditorTest, CloseHidesAndKeepsStateWhileTheFrameDestroys)
{
    inGroupEditor([](QWidget* e) { e->findChild<QCheckBox*>(QStringLiteral("Check2"))->setChecked(false); });
    QPointer<GroupEditor> first = window->groupEditor();
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(window->importOptions().importUVs);
    EXPECT_EQ(find<QListWidget>(first, "List1")->count(), 2);
    inGroupEditor([](QWidget*) {});
    EXPECT_EQ(window->groupEditor(), first.data());
    EXPECT_FALSE(find<QCheckBox>(first, "Check2")->isChecked());

    QTimer::singleShot(0, [&] { first->close(); }); // closed from its frame while open
    click("Command3");
    processDeletes();
    EXPECT_FALSE(first);
    EXPECT_TRUE(window->importOptions().importUVs); // initial states again
    inGroupEditor([](QWidget*) {});
    EXPECT_TRUE(find<QCheckBox>(window->groupEditor(), "Check2")->isChecked());
    EXPECT_FALSE(find<QCheckBox>(window->groupEditor(), "Check5")->isChecked());
}

TEST_F(GuiTest, ScalingApplyIsKeptAcrossARestart)
{
    trigger("mnuFileScale");
    ScalingOptions* scaling = window->scalingOptions();
    ASSERT_NE(scaling, nullptr);
    EXPECT_EQ(find<QLineEdit>(scaling, "txtScaleToObj")->text(), QLatin1String("100"));
    EXPECT_EQ(find<QLineEdit>(scaling, "txtScaleFromObj")->text(), QLatin1String("100"));
    find<QLineEdit>(scaling, "txtScaleToObj")->setText(QStringLiteral("150"));
    find<QLineEdit>(scaling, "txtScaleFromObj")->setText(QStringLiteral("big")); // stored as typed
    scaling->show();
    click(scaling, "Command1");
    EXPECT_FALSE(scaling->isVisible());

    start();
    trigger("mnuFileScale");
    EXPECT_EQ(find<QLineEdit>(window->scalingOptions(), "txtScaleToObj")->text(), QLatin1String("150"));
    EXPECT_EQ(find<QLineEdit>(window->scalingOptions(), "txtScaleFromObj")->text(), QLatin1String("big"));
}

class WizardTest : public GuiTest {
  protected:
    WizardWindow* open()
    {
        click("Command2");
        WizardWindow* w = window->wizardWindow();
        EXPECT_NE(w, nullptr);
        return w;
    }
    QString text(QWidget* w, const char* box) { return find<QLineEdit>(w, box)->text(); }
};

TEST_F(WizardTest, PagesCounterAndCancel)
{
    WizardWindow* w = open();
    EXPECT_EQ(w->windowTitle(), QLatin1String("Simple object import"));
    EXPECT_EQ(w->page(), 1);
    EXPECT_TRUE(text(w, "Text3").endsWith(QLatin1String("/Template_gmdc_1.simpe")));
    answer({example("example.obj")});
    click(w, "Label11");
    EXPECT_EQ(text(w, "Text1"), q(example("example.obj")));
    click(w, "Label10");
    EXPECT_EQ(w->step(), 2);
    EXPECT_EQ(w->page(), 2);
    EXPECT_EQ(text(w, "Text2"), QLatin1String(" 2"));
    EXPECT_TRUE(text(w, "Text3").endsWith(QLatin1String("/Template_gmdc_2.simpe")));
    EXPECT_EQ(find(w, "Check3")->isEnabled(), hasToolWindow(ToolWindow::View3D));
    click(w, "Label10");
    EXPECT_EQ(w->page(), 3);
    EXPECT_EQ(text(w, "Text4"), QLatin1String("Model_1"));
    click(w, "Label9");
    EXPECT_EQ(w->page(), 1);
    EXPECT_EQ(w->step(), 1);
    EXPECT_EQ(find<QAbstractButton>(w, "Label9")->text(), QLatin1String("      CANCEL"));

    // A cancelled save dialog writes nothing, says so and returns to page 1.
    click(w, "Label10");
    click(w, "Label10");
    click(w, "Label10");
    EXPECT_EQ(w->page(), 1);
    EXPECT_EQ(dialogs.count("save"), 1);
    EXPECT_TRUE(find<QPlainTextEdit>("Text1")->toPlainText().contains(QLatin1String("Nothing was saved")));
}

TEST_F(WizardTest, BuildsTheGmdcAndShapeOfTheCommandLine)
{
    for (const bool manyObjects : {false, true}) {
        std::string obj = example("example.obj");
        std::vector<std::string> args = {
            "new-object", obj, "-o", dir.file("cli.5gd"), "--shape-area", "--shape", dir.file("cli_shpe.simpe")};
        if (manyObjects) { // five objects: the parts take the objects' names
            obj = dir.file("five.OBJ");
            std::string text = "vn 0 0 1\nvt 0 0\n";
            for (int k = 0; k < 5; ++k)
                text += "g part" + std::to_string(k) + "\nv 0 0 " + std::to_string(k) + "\nv 1 0 0\nv 0 1 0\n" +
                        "f -3/1/1 -2/1/1 -1/1/1\n";
            write_file(obj, text);
            args[1] = obj;
        } else {
            args.insert(args.end(), {"--names", "Model_1,Model_2"});
        }
        WizardWindow* w = open();
        answer({obj, dir.file("gui.5gd"), dir.file("gui_shpe.simpe")});
        click(w, "Label11");
        click(w, "Label10");
        find<QCheckBox>(w, "Check2")->setChecked(true);
        click(w, "Label10");
        find<QCheckBox>(w, "Check1")->setChecked(true);
        click(w, "Label10");
        EXPECT_EQ(w->page(), 1);
        // The shape's dialog starts in the GMDC's folder with the usual name.
        EXPECT_EQ(dialogs.asked.last().text, q(dir.file("test_shpe.simpe")));
        std::string line;
        for (const std::string& a : args)
            line += quote(a) + " ";
        ASSERT_EQ(cli(line).status, 0);
        EXPECT_EQ(read_file(dir.file("gui.5gd")), read_file(dir.file("cli.5gd"))) << manyObjects;
        EXPECT_EQ(read_file(dir.file("gui_shpe.simpe")), read_file(dir.file("cli_shpe.simpe"))) << manyObjects;
        EXPECT_FALSE(document->isModified());
    }
}

TEST_F(WizardTest, ElevenObjectsAreRefusedWithTheCoresMessage)
{
    std::string text = "vn 0 0 1\nvt 0 0\nv 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (int k = 0; k < 11; ++k)
        text += "g o" + std::to_string(k) + "\nf 1/1/1 2/1/1 3/1/1\n";
    write_file(dir.file("eleven.obj"), text);
    WizardWindow* w = open();
    answer({dir.file("eleven.obj")});
    click(w, "Label11");
    for (int i = 0; i < 3; ++i)
        click(w, "Label10");
    EXPECT_EQ(w->page(), 1);
    EXPECT_EQ(dialogs.count("save"), 0);
    ASSERT_FALSE(dialogs.messages().isEmpty());
    EXPECT_TRUE(dialogs.messages().last().contains(QLatin1String("10"))) << dialogs.messages().last().toStdString();
}

} // namespace
} // namespace mw::test
