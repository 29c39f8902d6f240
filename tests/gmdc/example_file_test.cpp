// The bundled examples are made by our own code: examples/example.5gd is what the wizard
// builds from examples/example.obj (meshwright-cli new-object), examples/body_mesh.5gd is
// the test builders' body mesh. Run with MESHWRIGHT_REGENERATE_EXAMPLE=1 to write them
// afresh after the inputs or the code that makes them change.
#include "gmdc/gmdc_writer.h"
#include "mesh/obj_reader.h"
#include "state/state.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"
#include "wizard/wizard_construction.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace mw::test {
namespace {

TEST(ExampleFile, IsTheWizardsGmdcOfTheExampleObj)
{
    const std::string folder = std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/";
    State state;
    NullSink quiet;
    ASSERT_TRUE(read_obj(state, folder + "example.obj", quiet));
    ASSERT_TRUE(build_new_object(state, {}, quiet));
    ASSERT_EQ(state.gmdc.objects.size(), 2u);
    TempDir dir;
    const std::string fresh = std::getenv("MESHWRIGHT_REGENERATE_EXAMPLE") ? folder + "example.5gd" : dir.file("x.5gd");
    ASSERT_TRUE(writeGmdc(state.gmdc, fresh, quiet));
    EXPECT_EQ(read_file(folder + "example.5gd"), read_file(fresh));
}

TEST(ExampleFile, BodyMeshIsTheBuildersBodyMesh)
{
    const std::string path = std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/body_mesh.5gd";
    std::string bytes, error;
    ASSERT_TRUE(serializeGmdc(make_body_mesh(), bytes, error)) << error;
    if (std::getenv("MESHWRIGHT_REGENERATE_EXAMPLE"))
        write_file(path, bytes);
    EXPECT_EQ(read_file(path), bytes);
}

} // namespace
} // namespace mw::test
