// GMDC resources of Sims 2 packages in the desktop program: the chooser, writing back.
#include "gui_test_support.h"

#include "gmdc/gmdc_reader.h"
#include "support/cli_files.h"
#include "support/package_builder.h"

#include <QLabel>

namespace mw::test {
namespace {

class PackageTest : public GuiTest {
  protected:
    // GMND, GMDC example (compressed), TXTR, GMDC body mesh: the chooser lists resources 2 and 4.
    std::string twoGmdcs()
    {
        const std::string path = dir.file("two.package");
        write_file(path, build_package({{kTypeGmnd, 1, 1, 0, "node", false},
                                        {kTypeGmdc, 1, 2, 0, read_file(example("example.5gd")), true},
                                        {kTypeTxtr, 1, 3, 0, "texture", true},
                                        {kTypeGmdc, 1, 4, 7, read_file(example("body_mesh.5gd")), false}},
                                       true));
        return path;
    }
    QString lastFilter(const char* kind)
    {
        QString filter;
        for (const auto& a : dialogs.asked)
            filter = a.kind == QLatin1String(kind) ? a.filter : filter;
        return filter;
    }
    // Every resource but `replaced` keeps its stored bytes; `replaced` holds `gmdc`.
    static void expectCopy(const std::string& original, const std::string& copy, std::size_t replaced,
                           const std::string& gmdc)
    {
        Package a, b;
        std::string error, bytes;
        ASSERT_TRUE(parsePackage(original, a, error, "a") && parsePackage(copy, b, error, "b")) << error;
        ASSERT_EQ(a.resources.size(), b.resources.size());
        for (std::size_t i = 0; i < a.resources.size(); ++i)
            EXPECT_TRUE(i == replaced || i == std::size_t(a.dirIndex) || storedBytes(a, i) == storedBytes(b, i)) << i;
        ASSERT_TRUE(resourceBytes(b, replaced, bytes, error)) << error;
        EXPECT_TRUE(bytes == gmdc);
    }
};

TEST_F(PackageTest, StepTwoChoosesAResourceAndSavesGoBackIntoThePackage)
{
    const std::string package = twoGmdcs(), original = read_file(package);
    answer({example("example_edited.obj"), package});
    dialogs.choiceAnswers = {1};
    click("cmdBrowse");
    click("cmdLoadExistingGMDC");
    EXPECT_TRUE(lastFilter("open").endsWith(QLatin1String("Sims 2 Package (*.package)|*.package")));
    ASSERT_EQ(dialogs.asked.last().items.size(), 2);
    EXPECT_TRUE(dialogs.asked.last().items[1].startsWith(QLatin1String("Resource 4: group 0x00000001")));
    GmdcFile body;
    NullSink quiet;
    ASSERT_TRUE(readGmdc(body, example("body_mesh.5gd"), quiet));
    EXPECT_EQ(document->state().gmdc, body);
    EXPECT_TRUE(find<QLabel>("lblStatus")->text().contains(QLatin1String("two.package, resource 4")));

    // The save dialog offers the package first; the copy's GMDC is what a plain save writes.
    trigger("mnuFileAdvanced");
    answer({dir.file("copy.package")});
    click(window->findChild<GmdcEditingWindow*>(), "Command2");
    EXPECT_TRUE(lastFilter("save").startsWith(QLatin1String("Sims 2 Package (*.package)")));
    ASSERT_TRUE(document->saveGmdc(q(dir.file("plain.5gd"))));
    expectCopy(original, read_file(dir.file("copy.package")), 3, read_file(dir.file("plain.5gd")));

    // Writing into the package itself is asked first; a refusal writes nothing.
    for (const auto reply : {QMessageBox::Cancel, QMessageBox::Save}) {
        dialogs.questionAnswers = {reply};
        EXPECT_EQ(document->saveGmdc(q(dir.file("copy.package"))), reply == QMessageBox::Save);
    }
    expectCopy(original, read_file(dir.file("copy.package")), 3, read_file(dir.file("plain.5gd")));

    // The 3D view's body-mesh save goes into a (compressed) resource alike.
    const CliFiles files; // body30.5gd is laid out as a body mesh
    write_file(dir.file("b.package"), build_package({{kTypeGmdc, 1, 9, 0, read_file(files("body30.5gd")), true}}, 0));
    ASSERT_TRUE(document->loadGmdc(q(dir.file("b.package"))));
    ASSERT_TRUE(document->saveGmdc(q(dir.file("body.5gd")), Document::Layout::BodyMesh));
    ASSERT_TRUE(document->saveGmdc(q(dir.file("body.package")), Document::Layout::BodyMesh));
    expectCopy(read_file(dir.file("b.package")), read_file(dir.file("body.package")), 0,
               read_file(dir.file("body.5gd")));
}

TEST_F(PackageTest, RefusedLoadsAndSavesChangeNothing)
{
    ASSERT_TRUE(document->loadGmdc(q(example("example.5gd"))));
    const GmdcFile before = document->state().gmdc;
    write_file(dir.file("none.package"), build_package({{kTypeTxtr, 1, 3, 0, "texture", false}}, false));
    write_file(dir.file("cut.package"), read_file(twoGmdcs()).substr(0, 200));
    const std::pair<std::string, const char*> loads[] = {{twoGmdcs(), ""}, // the chooser is cancelled
                                                         {dir.file("none.package"), "holds no GMDC resource"},
                                                         {dir.file("cut.package"), "cut.package"}};
    for (const auto& [path, message] : loads) {
        EXPECT_FALSE(document->loadGmdc(q(path))) << path;
        EXPECT_EQ(document->state().gmdc, before) << path;
        EXPECT_EQ(document->gmdcPath(), q(example("example.5gd")));
        EXPECT_TRUE(!*message || dialogs.messages().last().contains(QLatin1String(message))) << path;
    }
    // A GMDC file's GMDC is no package resource: nothing is written.
    EXPECT_FALSE(document->saveGmdc(q(dir.file("new.package"))));
    EXPECT_FALSE(file_exists(dir.file("new.package")));
    EXPECT_TRUE(dialogs.messages().last().contains(QLatin1String("not loaded from a package")));
}

} // namespace
} // namespace mw::test
