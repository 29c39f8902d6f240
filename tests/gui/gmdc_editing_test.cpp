// The GMDC editing windows, opened from "Advanced Mode" on a loaded body mesh.
#include "gui_test_support.h"

#include "gmdc/side_files.h"

#include <QLineEdit>
#include <QListWidget>
#include <QUndoStack>

namespace mw::test {
namespace {

class EditingTest : public GuiTest {
  protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        ASSERT_TRUE(document->loadGmdc(q(example("body_mesh.5gd"))));
        trigger("mnuFileAdvanced");
        ed = window->findChild<GmdcEditingWindow*>();
        ASSERT_NE(ed, nullptr);
        ed->setAreaFile(q(area));
        for (std::size_t i = 0; i < g().dataLists.size(); ++i)
            if (!g().dataLists[i].holdsLongValues())
                floats.push_back(static_cast<int>(i));
    }
    const GmdcFile& g() { return document->state().gmdc; }
    void select(const char* name, std::initializer_list<int> rows, QWidget* w = nullptr)
    {
        auto* l = find<QListWidget>(w ? w : ed, name);
        l->clearSelection();
        for (int row : rows)
            l->setCurrentRow(row, QItemSelectionModel::Select);
    }
    void type(const char* name, const QString& text, bool enter = true)
    {
        auto* box = find<QLineEdit>(ed, name);
        box->selectAll();
        QTest::keyClicks(box, text);
        if (enter)
            QTest::keyClick(box, Qt::Key_Return);
    }
    std::string file(const char* name, const std::string& contents)
    {
        write_file(dir.file(name), contents);
        return dir.file(name);
    }
    static std::string listFile(int records, std::vector<float> values)
    {
        DataList l;
        l.recordCount = records;
        l.floatValues = std::move(values);
        return dataListFileBytes(l);
    }
    const std::string area = std::string(MESHWRIGHT_SOURCE_DIR) + "/data/obj_pinfo.dat";
    GmdcEditingWindow* ed = nullptr;
    std::vector<int> floats; // the float data lists, 0-based
};

TEST_F(EditingTest, ReplaceAsksOncePerListACancelKeepsItAndClearZeroesTwelveValues)
{
    ASSERT_GE(floats.size(), 3u);
    const DataList kept = g().dataLists[floats[1]];
    answer({file("a", listFile(4, std::vector<float>(12, 1.5f))), "", file("c", listFile(2, {4, 5}))});
    select("List1", {floats[0], floats[1], floats[2]});
    click(ed, "Command7");
    EXPECT_EQ(dialogs.count("open"), 3);
    EXPECT_EQ(g().dataLists[floats[1]], kept);
    EXPECT_EQ(g().dataLists[floats[2]].floatValues, (std::vector<float>{4, 5}));
    EXPECT_EQ(g().dataLists[floats[2]].recordCount, 2);
    select("List1", {floats[0]});
    click(ed, "Command4");
    EXPECT_EQ(g().dataLists[floats[0]].floatValues, std::vector<float>(12, 0.0f));
    EXPECT_EQ(g().dataLists[floats[0]].recordCount, 4);
    EXPECT_EQ(document->undoStack()->undoText(), QStringLiteral("Clear datalist %1").arg(floats[0] + 1));
}

TEST_F(EditingTest, NumericBoxesCommitOnEnterRoundHalvesToEvenAndRefuseNoNumber)
{
    ASSERT_TRUE(document->loadGmdc(q(example("example.5gd")))); // group 1 holds 24 records
    select("List2", {0});
    type("Text1", QStringLiteral("13.5"));
    EXPECT_EQ(g().objectGroups[0].vertexCount, 14);
    type("Text1", QStringLiteral("abc")); // refused with a message
    EXPECT_FALSE(dialogs.messages().isEmpty());
    type("Text1", QStringLiteral("3"), false);
    EXPECT_EQ(g().objectGroups[0].vertexCount, 14); // not before Enter
}

TEST_F(EditingTest, NothingSelectedAsksNothingAndAFailedSideFileSaysWhy)
{
    for (const char* button : {"Command7", "Command4", "Command1", "cmdSaveFaces", "cmdSaveDatalist"})
        click(ed, button);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    answer({dir.file("missing/p4")});
    click(ed, "Command10");
    EXPECT_FALSE(dialogs.messages().isEmpty());
    EXPECT_FALSE(file_exists(dir.file("missing/p4")));
}

TEST_F(EditingTest, UndoOfEveryEditGivesBackTheRecordBeforeAndSaveMarksClean)
{
    answer({file("f", faceFileBytes({0, 1, 2})), file("l", listFile(1, {7}))});
    click(ed, "Command3");
    QWidget* form7 = ed->findChild<QWidget*>(QStringLiteral("Form7"));
    ASSERT_NE(form7, nullptr);
    const std::function<void()> edits[] = {
        [&] { select("List3", {0}), click(ed, "Command1"); },
        [&] { select("List1", {floats[0]}), click(ed, "Command7"); },
        [&] { click(ed, "Command4"); },
        [&] { select("List2", {0}), type("Text1", QStringLiteral("1")); },
        [&] { type("Text9", QStringLiteral("5")); },
        [&] {
            select("List1", {0}, form7);
            find<QLineEdit>(form7, "Text2")->setText(QStringLiteral("2.25"));
            click(form7, "Command1");
        },
        [&] { click(ed, "Command8"); },
    };
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        const GmdcFile before = g();
        edits[i]();
        const GmdcFile after = g();
        EXPECT_FALSE(after == before) << i;
        document->undoStack()->undo();
        EXPECT_TRUE(g() == before) << i;
        document->undoStack()->redo();
        EXPECT_TRUE(g() == after) << i;
    }
    EXPECT_EQ(g().transforms[0].location[1], 2.25f);
    answer({dir.file("saved.5gd")});
    click(ed, "Command2");
    EXPECT_FALSE(document->isModified());
}

} // namespace
} // namespace mw::test
