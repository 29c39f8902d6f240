// The bundled example examples/example.5gd is made by the test builders and this writer.
// Run with MESHWRIGHT_REGENERATE_EXAMPLE=1 to write it afresh after the builders change.
#include "gmdc/gmdc_test_util.h"
#include "support/gmdc_builders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace mw::test {
namespace {

TEST(ExampleFile, IsTheBodyMeshBuilderOutput)
{
    const std::string path = std::string(MESHWRIGHT_SOURCE_DIR) + "/examples/example.5gd";
    const std::string bytes = serialized(make_body_mesh());
    if (std::getenv("MESHWRIGHT_REGENERATE_EXAMPLE") != nullptr)
        write_file(path, bytes);
    ASSERT_TRUE(file_exists(path));
    EXPECT_EQ(read_file(path), bytes);
}

} // namespace
} // namespace mw::test
