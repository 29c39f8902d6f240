// Each writing command of meshwright-cli, run as a separate process, writes the same bytes
// as the core operations it wires together with the options it was given; side files
// exported go back through edit unchanged.
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "gmdc/side_files.h"
#include "merge/area_update.h"
#include "merge/body_save.h"
#include "merge/merge_pass.h"
#include "merge/view_commands.h"
#include "mesh/gmdc_to_obj.h"
#include "mesh/obj_reader.h"
#include "mesh/obj_writer.h"
#include "mesh/smd_reader.h"
#include "smd_export/smd_writer.h"
#include "support/cli_files.h"
#include "support/cli_run.h"
#include "support/gmdc_builders.h"
#include "wizard/shape_writer.h"
#include "wizard/wizard_construction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace mw::test {
namespace {

using Out = const std::string&;
using Sink = MessageSink;
using Core = std::function<bool(State& s, Out out, Sink& sink)>;

// Models (1-based, with their sub-groups) assigned to object 1, then replace or add.
Core assigned(std::vector<std::pair<std::size_t, std::int16_t>> models, bool add, ViewOptions options = {})
{
    return [=](State& s, Out out, Sink& sink) {
        for (const auto& [model, subGroup] : models) {
            s.models.models.at(model - 1).targetObject = 1;
            s.models.models.at(model - 1).subGroup = subGroup;
        }
        return (add ? add_models(s, options, sink) : replace_models(s, options, sink)) &&
               (options.bodyEditing ? save_body_gmdc(s, out, sink) : writeGmdc(s.gmdc, out, sink));
    };
}

TEST(CliOutputs, EqualTheCoreOperations)
{
    // The core runs on the command's mesh and GMDC (an SMD read with weights). The last
    // argument is the output compared, "-" standard output; the commands that edit a GMDC
    // may write over it.
    const std::string example = example_obj();
    const std::vector<std::pair<std::vector<std::string>, Core>> cases = {
        {{"resave", "body.5gd", "./body.5gd"}, [](State& s, Out o, Sink& k) { return writeGmdc(s.gmdc, o, k); }},
        {{"convert", "top.obj", "--model", "2", "-o", "-"},
         [](State& s, Out o, Sink& k) { return write_obj(s, o, 2, k); }},
        {{"to-obj", "body.5gd", "--scale", "50", "-o", "out.obj"},
         [](State& s, Out o, Sink& k) { return write_gmdc_as_obj(s.gmdc, o, 50, k); }},
        {{"export-smd", "body.5gd", "--object", "body", "--single-bone", "-o", "-"},
         [](State& s, Out o, Sink& k) { return write_smd(s, o, 1, kSmdSingleBone, k); }},
        {{"new-object", example, "--shape-area", "-o", "out.5gd"},
         [](State& s, Out o, Sink& k) {
             return build_new_object(s, {.shapeArea = true, .areaFile = {}}, k) && writeGmdc(s.gmdc, o, k);
         }},
        {{"new-object", example, "-o", "out.5gd", "--names", "chair,foot", "--shape", "shape.simpe"},
         [](State&, Out o, Sink& k) {
             ShpeFile shape;
             initShape(shape);
             setShapeParts(shape, {"chair", "foot"});
             return writeShape(shape, o, k);
         }},
        {{"merge", "top.obj", "body.5gd", "--update-area", "-o", "body.5gd"},
         [](State& s, Out o, Sink& k) {
             std::string error;
             return merge_models_into_gmdc(s, {}, k) && rebuild_area_from_objects(s.gmdc, error) &&
                    writeGmdc(s.gmdc, o, k);
         }},
        {{"merge", "top.obj", "body.5gd", "--no-uvs", "--no-polygons", "--keep-lists", "-o", "out.5gd"},
         [](State& s, Out o, Sink& k) {
             return merge_models_into_gmdc(s, {.importUVs = false, .importPolygons = false, .keepLists = true}, k) &&
                    writeGmdc(s.gmdc, o, k);
         }},
        {{"replace", "top.obj", "body.5gd", "--assign", "2=body", "--three-weights", "--bump-map", "-o", "body.5gd"},
         assigned({{2, 1}}, false, {.threeWeights = true, .bumpMap = true})},
        {{"replace", "weighted.smd", "body.5gd", "--assign", "1=1", "--3dsmax", "--xsi", "-o", "out.5gd"},
         assigned({{1, 1}}, false, {.usingXsiModTool = true, .usingThreeDsMax = true})},
        {{"add", "top.obj", "body.5gd", "--assign", "spout=body:2", "--assign", "1=1", "-o", "./body.5gd"},
         assigned({{2, 2}, {1, 1}}, true)},
        {{"replace", "top.obj", "body30.5gd", "--assign", "body=body", "--body-editing", "-o", "out.5gd"},
         assigned({{1, 1}}, false, {.bodyEditing = true})},
    };
    for (const auto& [args, core] : cases) {
        CliFiles f;
        std::string line;
        for (const std::string& a : args)
            line += " " +
                    quote(a.find('.') == std::string::npos || std::filesystem::path(a).has_root_directory() ? a : f(a));
        const std::string mesh = args[0] == "new-object" ? example : args[1].ends_with(".5gd") ? "" : f(args[1]);
        const std::string gmdc = args[mesh.empty() ? 1 : 2];
        RecordingSink sink;
        State s;
        const bool loaded = (mesh.empty() || (mesh.ends_with(".smd") ? read_smd(s, mesh, sink, {.studio3dsSmd = true})
                                                                     : read_obj(s, mesh, sink))) &&
                            (!gmdc.ends_with(".5gd") || readGmdc(s.gmdc, f(gmdc), sink));
        ASSERT_TRUE(loaded && core(s, f("core"), sink)) << line << ": " << sink.last();
        std::string expected = read_file(f("core"));
        const CliRun r = cli(line);
        EXPECT_EQ(r.status, 0) << line << "\n" << r.err;
#ifdef _WIN32 // the test's runner reads standard output there with CR LF made LF
        if (args.back() == "-")
            std::erase(expected, '\r');
#endif
        EXPECT_EQ(args.back() == "-" ? r.out : read_file(f(args.back())), expected) << line;
        EXPECT_FALSE(file_exists(f("-")));
    }
}

TEST(CliOutputs, ExportedSideFilesGoBackUnchangedAndEditsRunInOrder)
{
    const CliFiles f;
    ASSERT_EQ(cli({"export-side", f("body.5gd"), "-o", f("faces"), "faces", "--object", "1"}).status, 0);
    ASSERT_EQ(cli({"export-side", f("body.5gd"), "-o", f("list7"), "datalist", "--list", "7"}).status, 0);
    EXPECT_EQ(read_file(f("faces")), faceFileBytes(make_body_mesh().objects[0].faces));
    const CliRun edit = cli({"edit", f("body.5gd"), "-o", f("copy.5gd"), "--replace-faces", "body=" + f("faces"),
                             "--replace-datalist", "7=" + f("list7")});
    ASSERT_EQ(edit.status, 0) << edit.err;
    ASSERT_EQ(cli({"resave", f("body.5gd"), f("resaved.5gd")}).status, 0);
    EXPECT_EQ(read_file(f("copy.5gd")), read_file(f("resaved.5gd")));

    ASSERT_EQ(cli({"edit", f("body.5gd"), "-o", f("out.5gd"), "--name", "1=first", "--name", "first=second"}).status,
              0);
    GmdcFile g;
    RecordingSink sink;
    ASSERT_TRUE(readGmdc(g, f("out.5gd"), sink)) << sink.last();
    EXPECT_EQ(g.objects[0].name, "second");
}

} // namespace
} // namespace mw::test
