// The GMDC editing windows, opened from "Advanced Mode" on a loaded body mesh.
#include "gui_test_support.h"

#include "gmdc/gmdc_writer.h"
#include "gmdc/side_files.h"
#include "gmdc/ui/gmdc_editing_window.h"
#include "wizard/wizard_construction.h"

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
        ed->setAreaFile(q(area()));
    }
    static std::string area() { return std::string(MESHWRIGHT_SOURCE_DIR) + "/data/obj_pinfo.dat"; }
    const GmdcFile& g() { return document->state().gmdc; }
    std::string bytes()
    {
        std::string out, error;
        EXPECT_TRUE(serializeGmdc(g(), out, error)) << error;
        return out;
    }
    QListWidget* list(const char* name, QWidget* w = nullptr) { return find<QListWidget>(w ? w : ed, name); }
    QString text(const char* name, QWidget* w = nullptr) { return find<QLineEdit>(w ? w : ed, name)->text(); }
    void select(const char* name, std::initializer_list<int> rows, QWidget* w = nullptr)
    {
        QListWidget* l = list(name, w);
        l->clearSelection();
        for (int row : rows)
            l->setCurrentRow(row, QItemSelectionModel::Select);
    }
    void type(const char* name, const QString& text)
    {
        auto* box = find<QLineEdit>(ed, name);
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }
    std::string file(const char* name, const std::string& contents)
    {
        write_file(dir.file(name), contents);
        return dir.file(name);
    }
    // The first float data lists of the mesh, 0-based.
    std::vector<int> floatLists(std::size_t n)
    {
        std::vector<int> rows;
        for (std::size_t i = 0; i < g().dataLists.size() && rows.size() < n; ++i)
            if (!g().dataLists[i].holdsLongValues())
                rows.push_back(static_cast<int>(i));
        return rows;
    }
    static DataList listOf(int records, std::vector<float> values)
    {
        DataList l;
        l.recordCount = records;
        l.floatValues = std::move(values);
        return l;
    }
    GmdcEditingWindow* ed = nullptr;
};

TEST_F(EditingTest, ReplaceAsksOncePerListAndACancelKeepsThatList)
{
    const std::vector<int> rows = floatLists(3);
    ASSERT_EQ(rows.size(), 3u);
    const DataList before = g().dataLists[rows[1]];
    answer({file("a", dataListFileBytes(listOf(1, {1, 2, 3}))), "", file("c", dataListFileBytes(listOf(2, {4, 5})))});
    select("List1", {rows[0], rows[1], rows[2]});
    click(ed, "Command7");
    EXPECT_EQ(dialogs.count("open"), 3);
    EXPECT_EQ(g().dataLists[rows[0]].floatValues, (std::vector<float>{1, 2, 3}));
    EXPECT_EQ(g().dataLists[rows[0]].recordCount, 1);
    EXPECT_EQ(g().dataLists[rows[1]], before);
    EXPECT_EQ(g().dataLists[rows[2]].floatValues, (std::vector<float>{4, 5}));
    EXPECT_EQ(document->undoStack()->undoText(), QStringLiteral("Replace datalist %1").arg(rows[2] + 1));
}

TEST_F(EditingTest, ClearZeroesTwelveValuesOfEachSelectedListAndKeepsCounts)
{
    const std::vector<int> rows = floatLists(2);
    answer({file("a", dataListFileBytes(listOf(4, std::vector<float>(12, 1.5f))))});
    select("List1", {rows[0]});
    click(ed, "Command7");
    EXPECT_EQ(text("txtDataLength"), QLatin1String("48"));
    select("List1", {rows[0], rows[1]});
    click(ed, "Command4");
    EXPECT_EQ(g().dataLists[rows[0]].floatValues, std::vector<float>(12, 0.0f));
    EXPECT_EQ(g().dataLists[rows[0]].recordCount, 4);
    for (float v : g().dataLists[rows[1]].floatValues)
        EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(document->undoStack()->undoText(), QStringLiteral("Clear datalist %1").arg(rows[1] + 1));
}

TEST_F(EditingTest, NumericBoxesCommitOnEnterRoundHalvesToEvenAndRefuseNoNumber)
{
    ASSERT_TRUE(document->loadGmdc(q(example("example.5gd")))); // group 1 holds 24 records
    select("List2", {0});
    const std::pair<const char*, int> cases[] = {{"12.5", 12}, {"13.5", 14}, {"abc", 14}};
    for (const auto& [typed, stored] : cases) {
        type("Text1", QLatin1String(typed));
        EXPECT_EQ(g().objectGroups[0].vertexCount, stored) << typed;
    }
    EXPECT_EQ(text("Text1"), QLatin1String("14"));
    EXPECT_FALSE(dialogs.messages().isEmpty());
    QTest::keyClicks(find<QLineEdit>(ed, "Text1"), QStringLiteral("0"));
    EXPECT_EQ(g().objectGroups[0].vertexCount, 14); // not before Enter
    select("List3", {0});
    type("Text9", QStringLiteral("2.5"));
    EXPECT_EQ(g().objects[0].opacity, 2);
    EXPECT_EQ(document->undoStack()->count(), 3);
}

TEST_F(EditingTest, FacesAndDataListsRoundTripThroughTheirFiles)
{
    select("List3", {0});
    select("List1", {floatLists(1)[0]});
    const GmdcObject object = g().objects[0];
    const DataList dataList = g().dataLists[floatLists(1)[0]];
    answer({dir.file("faces"), file("small", faceFileBytes({0, 1, 2})), dir.file("faces")});
    click(ed, "cmdSaveFaces");
    click(ed, "Command1");
    EXPECT_EQ(g().objects[0].faces, (std::vector<std::int16_t>{0, 1, 2}));
    EXPECT_EQ(text("txtFaceCount"), QLatin1String("3"));
    EXPECT_EQ(document->undoStack()->undoText(), QLatin1String("Replace Faces of ") + q(object.name));
    click(ed, "Command1");
    EXPECT_EQ(g().objects[0], object);

    answer({dir.file("list"), file("l2", dataListFileBytes(listOf(1, {9}))), dir.file("list")});
    click(ed, "cmdSaveDatalist");
    click(ed, "Command7");
    click(ed, "Command7");
    EXPECT_EQ(g().dataLists[floatLists(1)[0]], dataList);
}

TEST_F(EditingTest, WiredBoxesShowTheSelectedListAndObject)
{
    const std::size_t row = floatLists(1)[0];
    select("List1", {static_cast<int>(row)});
    const DataList& l = g().dataLists[row];
    EXPECT_TRUE(text("txtIdentity")
                    .startsWith(QStringLiteral("0x%1").arg(l.identity, 8, 16, QLatin1Char('0')), Qt::CaseInsensitive));
    EXPECT_TRUE(text("txtIdentity").contains(QLatin1String(identity_short_name(l.identity))));
    EXPECT_EQ(text("txtRecords"), QString::number(l.recordCount));
    EXPECT_EQ(text("txtDataLength"), QString::number(4 * l.floatValues.size()));
    EXPECT_EQ(text("txtItems").split(QLatin1Char(' '), Qt::SkipEmptyParts).size(), qsizetype(l.items.size()));
    EXPECT_EQ(text("txtDataListCount"), QString::number(g().dataLists.size()));
    EXPECT_EQ(list("List1")->item(0)->text(), QLatin1String("Datalist #1"));
    EXPECT_EQ(list("List2")->item(0)->text(), QLatin1String("Object group #1"));
    select("List3", {0});
    EXPECT_EQ(text("Text2"), q(g().objects[0].name));
    EXPECT_EQ(text("txtGroupUsed"), QString::number(g().objects[0].objectGroupIndex + 1));
}

TEST_F(EditingTest, NothingSelectedDoesNothing)
{
    for (const char* button : {"Command7", "Command4", "Command1", "cmdSaveFaces", "cmdSaveDatalist"})
        click(ed, button);
    EXPECT_TRUE(dialogs.asked.isEmpty());
    EXPECT_EQ(document->undoStack()->count(), 0);
}

TEST_F(EditingTest, RemoveP5AndTheP4Window)
{
    ASSERT_FALSE(g().p5Entries.empty());
    click(ed, "Command3");
    QWidget* form7 = ed->findChild<QWidget*>(QStringLiteral("Form7"));
    ASSERT_NE(form7, nullptr);
    EXPECT_EQ(form7->windowTitle(), QLatin1String("Form7"));
    select("List2", {0}, form7);
    answer({dir.file("p5")});
    click(form7, "Command2");
    const std::string p5 = read_file(dir.file("p5"));
    ASSERT_GE(p5.size(), 4u);
    EXPECT_EQ(p5.substr(0, 4), std::string("\1\0\0\0", 4));
    EXPECT_TRUE(p5 == p5EntryFileBytes(g(), 0));

    select("List1", {0}, form7);
    EXPECT_EQ(text("Text1", form7), QString::number(g().transforms[0].location[0], 'f', 6));
    find<QLineEdit>(form7, "Text2")->setText(QStringLiteral("2.25"));
    click(form7, "Command1");
    EXPECT_EQ(g().transforms[0].location[1], 2.25f);

    click(ed, "Command8");
    GmdcFile defaultArea;
    std::string error;
    ASSERT_TRUE(loadDefaultArea(defaultArea, area(), error)) << error;
    EXPECT_TRUE(g().p5Entries.empty());
    EXPECT_EQ(g().boundingVertices, defaultArea.boundingVertices);
    EXPECT_EQ(g().boundingFaces, defaultArea.boundingFaces);
    EXPECT_EQ(list("List2", form7)->count(), 0);
}

TEST_F(EditingTest, UndoOfEveryEditGivesBackTheBytesBefore)
{
    answer({file("f", faceFileBytes({0, 1, 2})), file("l", dataListFileBytes(listOf(1, {7})))});
    const std::function<void()> edits[] = {
        [&] { select("List3", {0}), click(ed, "Command1"); },
        [&] { select("List1", {2}), click(ed, "Command7"); }, // list 3 now holds 1 record
        [&] { click(ed, "Command4"); },
        [&] { select("List2", {0}), type("Text1", QStringLiteral("1")); },
        [&] { type("Text9", QStringLiteral("5")); },
        [&] { click(ed, "Command8"); },
    };
    for (std::size_t i = 0; i < std::size(edits); ++i) {
        const std::string before = bytes();
        edits[i]();
        const std::string after = bytes();
        EXPECT_TRUE(after != before) << i;
        document->undoStack()->undo();
        EXPECT_TRUE(bytes() == before) << i;
        document->undoStack()->redo();
        EXPECT_TRUE(bytes() == after) << i;
    }
    EXPECT_TRUE(document->isModified());
    answer({dir.file("saved.5gd")});
    click(ed, "Command2");
    EXPECT_FALSE(document->isModified());
    EXPECT_TRUE(file_exists(dir.file("saved.5gd")));
}

TEST_F(EditingTest, AFailedSideFileWriteSaysWhy)
{
    answer({dir.file("missing/p4")});
    click(ed, "Command10");
    EXPECT_FALSE(dialogs.messages().isEmpty());
    EXPECT_FALSE(file_exists(dir.file("missing/p4")));
}

} // namespace
} // namespace mw::test
