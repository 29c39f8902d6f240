// Each writing command of meshwright-cli, run as a separate process, writes the same bytes
// as the core operations it wires together with the options it was given.
#include "gmdc/gmdc_reader.h"
#include "gmdc/gmdc_writer.h"
#include "merge/area_update.h"
#include "merge/body_save.h"
#include "merge/merge_pass.h"
#include "merge/view_commands.h"
#include "mesh/gmdc_to_obj.h"
#include "mesh/obj_reader.h"
#include "mesh/obj_writer.h"
#include "mesh/smd_reader.h"
#include "smd_export/smd_writer.h"
#include "state/state.h"
#include "support/cli_files.h"
#include "support/cli_run.h"
#include "wizard/shape_writer.h"
#include "wizard/wizard_construction.h"

#include <gtest/gtest.h>

#include <functional>

namespace mw::test {
namespace {

using Core = std::function<bool(const CliFiles& f, const std::string& out, MessageSink& sink)>;

struct Case {
    std::vector<std::string> args; // "OUT" stands for the output file, "x.ext" for f("x.ext")
    Core core;
};

bool load(State& s, const std::string& mesh, const std::string& gmdc, MessageSink& sink, bool weighted = false)
{
    SmdReadOptions smd;
    smd.studio3dsSmd = weighted;
    const bool read = mesh.ends_with(".smd") ? read_smd(s, mesh, sink, smd) : read_obj(s, mesh, sink);
    return read && readGmdc(s.gmdc, gmdc, sink);
}

Core merged(const char* mesh, ImportOptions options, bool weighted = false)
{
    return [=](const CliFiles& f, const std::string& out, MessageSink& sink) {
        State s;
        return load(s, f(mesh), f("body.5gd"), sink, weighted) && merge_models_into_gmdc(s, options, sink) &&
               writeGmdc(s.gmdc, out, sink);
    };
}

// Models (1-based, with their sub-groups) assigned to object 1, then replace or add.
Core assigned(const char* mesh, const char* gmdc, std::vector<std::pair<std::size_t, std::int16_t>> models, bool add,
              ViewOptions options = {})
{
    return [=](const CliFiles& f, const std::string& out, MessageSink& sink) {
        State s;
        if (!load(s, f(mesh), f(gmdc), sink, options.usingThreeDsMax))
            return false;
        for (const auto& [model, subGroup] : models) {
            s.models.models.at(model - 1).targetObject = 1;
            s.models.models.at(model - 1).subGroup = subGroup;
        }
        if (!(add ? add_models(s, options, sink) : replace_models(s, options, sink)))
            return false;
        return options.bodyEditing ? save_body_gmdc(s, out, sink) : writeGmdc(s.gmdc, out, sink);
    };
}

TEST(CliOutputs, EqualTheCoreOperations)
{
    ImportOptions noUvsNoPolygons;
    noUvsNoPolygons.importUVs = false;
    noUvsNoPolygons.importPolygons = false;
    ViewOptions smdFlags;
    smdFlags.usingThreeDsMax = true;
    smdFlags.usingXsiModTool = true;
    ViewOptions body;
    body.bodyEditing = true;
    ViewOptions weights;
    weights.threeWeights = true;
    weights.bumpMap = true;
    ImportOptions keepLists;
    keepLists.keepLists = true;

    const std::vector<Case> cases = {
        {{"resave", "body.5gd", "OUT"},
         [](const CliFiles& f, const std::string& out, MessageSink& sink) {
             GmdcFile g;
             return readGmdc(g, f("body.5gd"), sink) && writeGmdc(g, out, sink);
         }},
        {{"convert", "top.obj", "-o", "OUT", "--model", "2"},
         [](const CliFiles& f, const std::string& out, MessageSink& sink) {
             State s;
             return read_obj(s, f("top.obj"), sink) && write_obj(s, out, 2, sink);
         }},
        {{"to-obj", "body.5gd", "-o", "OUT", "--scale", "50"},
         [](const CliFiles& f, const std::string& out, MessageSink& sink) {
             GmdcFile g;
             return readGmdc(g, f("body.5gd"), sink) && write_gmdc_as_obj(g, out, 50, sink);
         }},
        {{"export-smd", "body.5gd", "--object", "body", "-o", "OUT", "--single-bone"},
         [](const CliFiles& f, const std::string& out, MessageSink& sink) {
             State s;
             return readGmdc(s.gmdc, f("body.5gd"), sink) && write_smd(s, out, 1, kSmdSingleBone, sink);
         }},
        {{"export-smd", "body.5gd", "--index", "1", "-o", "OUT"},
         [](const CliFiles& f, const std::string& out, MessageSink& sink) {
             State s;
             return readGmdc(s.gmdc, f("body.5gd"), sink) && write_smd(s, out, 1, kSmdMultipleBones, sink);
         }},
        {{"new-object", example_obj(), "-o", "OUT", "--shape-area"},
         [](const CliFiles&, const std::string& out, MessageSink& sink) {
             State s;
             WizardOptions options;
             options.shapeArea = true;
             return read_obj(s, example_obj(), sink) && build_new_object(s, options, sink) &&
                    writeGmdc(s.gmdc, out, sink);
         }},
        {{"new-object", example_obj(), "-o", "x.5gd", "--shape", "OUT", "--names", "chair,foot"},
         [](const CliFiles&, const std::string& out, MessageSink& sink) {
             ShpeFile shape;
             initShape(shape);
             setShapeParts(shape, {"chair", "foot"});
             return writeShape(shape, out, sink);
         }},
        {{"merge", "top.obj", "body.5gd", "-o", "OUT"}, merged("top.obj", {})},
        {{"merge", "top.obj", "body.5gd", "-o", "OUT", "--no-uvs", "--no-polygons"},
         merged("top.obj", noUvsNoPolygons)},
        {{"merge", "top.obj", "body.5gd", "-o", "OUT", "--keep-lists"}, merged("top.obj", keepLists)},
        {{"merge", "top.obj", "static.5gd", "-o", "OUT", "--update-area"},
         [](const CliFiles& f, const std::string& out, MessageSink& sink) {
             State s;
             std::string error;
             return load(s, f("top.obj"), f("static.5gd"), sink) && merge_models_into_gmdc(s, {}, sink) &&
                    rebuild_area_from_objects(s.gmdc, error) && writeGmdc(s.gmdc, out, sink);
         }},
        {{"replace", "top.obj", "body.5gd", "-o", "OUT", "--assign", "body=1:3"},
         assigned("top.obj", "body.5gd", {{1, 3}}, false)},
        {{"replace", "top.obj", "body.5gd", "-o", "OUT", "--assign", "2=body", "--three-weights", "--bump-map"},
         assigned("top.obj", "body.5gd", {{2, 1}}, false, weights)},
        {{"replace", "weighted.smd", "body.5gd", "-o", "OUT", "--assign", "1=1", "--3dsmax", "--xsi"},
         assigned("weighted.smd", "body.5gd", {{1, 1}}, false, smdFlags)},
        {{"add", "top.obj", "body.5gd", "-o", "OUT", "--assign", "spout=body:2", "--assign", "1=1"},
         assigned("top.obj", "body.5gd", {{2, 2}, {1, 1}}, true)},
        {{"replace", "top.obj", "body30.5gd", "-o", "OUT", "--assign", "body=body", "--body-editing"},
         assigned("top.obj", "body30.5gd", {{1, 1}}, false, body)},
    };
    for (const Case& c : cases) {
        CliFiles f;
        std::string line;
        for (const std::string& a : c.args)
            line += " " + quote(a == "OUT" ? f("out") : a.find('.') != std::string::npos && a[0] != '/' ? f(a) : a);
        const CliRun r = cli(line);
        EXPECT_EQ(r.status, 0) << line << "\n" << r.err;
        RecordingSink sink;
        ASSERT_TRUE(c.core(f, f("core"), sink)) << line << ": " << sink.last();
        EXPECT_EQ(read_file(f("out")), read_file(f("core"))) << line;
    }
}

} // namespace
} // namespace mw::test
