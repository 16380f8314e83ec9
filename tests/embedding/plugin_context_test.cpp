#include "embedding/plugin_context.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tarnvex {
namespace {

TEST(OperatorCodeFromLengthPrefixed, CopiesTheLengthByteAndThatManyBytes) {
  struct Case {
    std::vector<uint8_t> bytes;
    std::string code;
  };
  std::vector<uint8_t> longest(257, 'x');
  longest[0] = 255;
  const Case cases[] = {
      {{0, 'a', 'b'}, ""},
      {{3, '0', '0', '1', '9'}, "001"},  // the byte after the length is not part of it
      {{4, 0xB2, 0xD9, 0xD7, 0xF7}, "操作"},
      {longest, std::string(255, 'x')},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OperatorCodeFromLengthPrefixed(c.bytes.data()), c.code);
  }
  EXPECT_EQ(OperatorCodeFromLengthPrefixed(nullptr), "");
}

// A service that is only ever stored, never called.
class IdleService : public HostDataService {
 public:
  Variant GetDatabaseKind() override { return Variant(); }
  bool ExecuteQuery(const Variant&, Variant&) override { return false; }
  bool ExecuteStatement(Variant&) override { return false; }
  bool CheckRight(const std::u16string&, const std::u16string&) override { return false; }
};

TEST(PluginContext, EachStoreReplacesAllValuesAndReleasesTheEarlierService) {
  PluginContext context;
  auto first = std::make_shared<IdleService>();
  std::weak_ptr<IdleService> first_alive = first;
  context.Store(11, std::move(first), "0001");
  auto second = std::make_shared<IdleService>();
  std::weak_ptr<IdleService> second_alive = second;

  context.Store(22, std::move(second), "");

  EXPECT_TRUE(first_alive.expired());
  EXPECT_EQ(context.host_data_service(), second_alive.lock());
  EXPECT_EQ(context.host_notify_control(), WindowHandle{22});
  EXPECT_EQ(context.operator_code(), "");

  context.Clear();
  EXPECT_TRUE(second_alive.expired());
  EXPECT_EQ(context.host_data_service(), nullptr);
  EXPECT_EQ(context.operator_code(), "");
}

}  // namespace
}  // namespace tarnvex
