// The bundled example examples/example.5gd is what the wizard builds from
// examples/example.obj (meshwright-cli new-object). Run with MESHWRIGHT_REGENERATE_EXAMPLE=1
// to write it afresh after the OBJ file or the construction changes.
#include "core/state.h"
#include "gmdc/gmdc_writer.h"
#include "mesh/obj_reader.h"
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

} // namespace
} // namespace mw::test
