// The shape resource: its 162-byte fixed part at the offsets the game reads, then one
// part per object.
#include "support/gmdc_bytes.h"
#include "wizard/shape_writer.h"

#include <gtest/gtest.h>

using namespace mw;

TEST(ShapeWriter, FixedPartThenOnePartPerObject)
{
    test::GmdcBytes fixed;
    fixed.u16(1).u16(0xFFFF).u32(0).u32(1).u32(0);
    fixed.name("cShape").u32(0).u32(8).name("cSGResource").u32(0).u32(2).name("testname_shpe");
    fixed.name("cReferentNode").u32(0).u32(1).name("cObjectGraphNode").u32(0).u32(4).u32(0).name("");
    fixed.u32(1).u32(90).u32(1).u32(0).u8(1).name("testname_tslocator_gmnd");
    ASSERT_EQ(fixed.size(), 158u);

    std::vector<std::string> names;
    for (int k = 1; k <= 10; ++k) {
        names.push_back(k == 3 ? "" : "obj" + std::to_string(k));
        test::GmdcBytes expected = fixed;
        expected.u32(static_cast<std::uint32_t>(k));
        for (int part = 1; part <= k; ++part)
            expected.name(names[static_cast<std::size_t>(part - 1)])
                .name("Material_" + std::to_string(part))
                .raw(std::string(9, '\0'));
        ShpeFile shape;
        initShape(shape);
        setShapeParts(shape, names);
        std::string out, error;
        EXPECT_TRUE(serializeShape(shape, out, error)) << error;
        EXPECT_EQ(out, expected.str()) << k << " parts";
    }
}
