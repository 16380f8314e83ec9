#include "host/statement_array.h"

#include <gtest/gtest.h>

namespace tarnvex {
namespace {

TEST(StringsToVariantArrayTest, OneWideStringPerLineFromZero) {
  const Variant batch = StringsToVariantArray({"delete from tbx", "保存成功", ""});
  ASSERT_EQ(batch.kind(), Variant::Kind::kArray);
  const VariantArray& array = batch.as_array();
  EXPECT_EQ(array.lower_bound, 0);
  EXPECT_EQ(array.upper_bound(), 2);
  EXPECT_EQ(array.elements[0], Variant(u"delete from tbx"));
  EXPECT_EQ(array.elements[1], Variant(u"保存成功"));
  EXPECT_EQ(array.elements[2], Variant(u""));
}

TEST(StringsToVariantArrayTest, EmptyListGivesEmptyVariant) {
  EXPECT_TRUE(StringsToVariantArray({}).is_empty());
}

}  // namespace
}  // namespace tarnvex
