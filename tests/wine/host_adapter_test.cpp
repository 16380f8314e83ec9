// The Win32 adapter of HostDataService: Variant <-> VARIANT, argument order
// and passing, the four operations against the stand-in over a real SQLite
// file through Wine's ODBC, and failures of the call itself.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/data_packet.h"
#include "host/host_error.h"
#include "host/win32/com_ptr.h"
#include "host/win32/dispatch_call.h"
#include "host/win32/dispatch_host_data_service.h"
#include "host/win32/variant_conversion.h"
#include "standin/embedded_sql.h"
#include "standin/host_app/standin_dispatch.h"
#include "standin/standin_service.h"
#include "text/codepage.h"
#include "widgets/event_guard.h"
#include "widgets/win32/win32_platform.h"
#include "wine/demo_database.h"
#include "wine/message_box_watcher.h"
#include "wine/scratch_folder.h"
#include "wine/test_host.h"

namespace tarnvex::testing {
namespace {

// The host's error lines, readable in the test's output.
std::string HostErrorLines(const Variant& error) {
  return Utf16ToUtf8(Cp936ToUtf16(HostErrorText(error)));
}

TEST(HostAdapterVariant, RoundTripsEveryKindThroughAVariant) {
  const Variant cases[] = {
      Variant(),
      Variant::Null(),
      Variant(true),
      Variant(false),
      Variant(int32_t{-2147483647 - 1}),
      Variant(12.5),
      Variant(u""),
      Variant(std::u16string(u"计件\0津贴", 5)),
      Variant(std::vector<uint8_t>{}),
      Variant(std::vector<uint8_t>{0, 255, 7}),
      Variant(VariantArray{}),
      Variant(VariantArray{
          1,
          {Variant(u"第一行"), Variant(int32_t{2}), Variant(VariantArray{-3, {Variant::Null()}})}}),
  };
  for (const Variant& value : cases) {
    VariantHolder converted = ToVariant(value);
    EXPECT_EQ(FromVariant(converted.value()), value) << "kind " << static_cast<int>(value.kind());
  }
}

TEST(HostAdapterVariant, ReadsWhatAnotherHostMaySend) {
  VariantHolder small;
  small.get()->vt = VT_I2;
  small.get()->iVal = -7;
  EXPECT_EQ(FromVariant(small.value()), Variant(int32_t{-7}));

  VariantHolder large;
  large.get()->vt = VT_UI4;
  large.get()->ulVal = 3000000000u;
  EXPECT_EQ(FromVariant(large.value()), Variant(3000000000.0));

  // An array of BSTRs, as a host may send its error lines.
  SAFEARRAY* lines = SafeArrayCreateVector(VT_BSTR, 0, 2);
  ASSERT_NE(lines, nullptr);
  LONG index = 0;
  BSTR first = SysAllocString(L"第一行");
  SafeArrayPutElement(lines, &index, first);
  SysFreeString(first);
  VariantHolder holder;
  holder.get()->vt = VT_ARRAY | VT_BSTR;
  holder.get()->parray = lines;
  EXPECT_EQ(FromVariant(holder.value()),
            Variant(VariantArray{0, {Variant(u"第一行"), Variant(u"")}}));

  // A reference to a variant is followed.
  VariantHolder target = ToVariant(Variant(u"by reference"));
  VARIANT reference;
  VariantInit(&reference);
  reference.vt = VT_BYREF | VT_VARIANT;
  reference.pvarVal = target.get();
  EXPECT_EQ(FromVariant(reference), Variant(u"by reference"));
}

TEST(HostAdapterVariant, RefusesWhatItCannotCarry) {
  // A VT_VARIANT array whose elements are really two bytes wide must not be
  // read as variants.
  SAFEARRAY* narrow = SafeArrayCreateVector(VT_I2, 0, 4);
  ASSERT_NE(narrow, nullptr);
  VariantHolder mislabelled;
  mislabelled.get()->vt = VT_ARRAY | VT_VARIANT;
  mislabelled.get()->parray = narrow;
  EXPECT_THROW(FromVariant(mislabelled.value()), HostCallError);

  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  VariantHolder two_dimensions;
  two_dimensions.get()->vt = VT_ARRAY | VT_VARIANT;
  two_dimensions.get()->parray = SafeArrayCreate(VT_VARIANT, 2, bounds);
  EXPECT_THROW(FromVariant(two_dimensions.value()), HostCallError);
}

// The adapter over the stand-in's IDispatch over a recording service: what
// arrives on the far side of Invoke, in which order, and what comes back.
class HostAdapterPassing : public ::testing::Test {
 protected:
  std::shared_ptr<RecordingService> service_ = std::make_shared<RecordingService>();
  DispatchHostDataService adapter_{MakeStandinDispatch(service_)};
};

TEST_F(HostAdapterPassing, PassesArgumentsInOrderAndReadsBackByReferenceOnes) {
  EXPECT_EQ(adapter_.GetDatabaseKind(), Variant(u"SQLSERVER"));

  Variant result(u"before");
  EXPECT_TRUE(adapter_.ExecuteQuery(Variant(u"select 1"), result));
  EXPECT_EQ(result, Variant(std::vector<uint8_t>{1, 2, 3}));

  Variant statements(VariantArray{0, {Variant(u"insert 1"), Variant(u"insert 2")}});
  EXPECT_FALSE(adapter_.ExecuteStatement(statements));
  EXPECT_EQ(statements, Variant(VariantArray{0, {Variant(u"第一行"), Variant(u"second")}}));

  EXPECT_TRUE(adapter_.CheckRight(u"操作员", u"9026"));
  EXPECT_FALSE(adapter_.CheckRight(u"9026", u"操作员"));

  const std::vector<Variant> expected = {
      Variant(u"select 1"),
      Variant(u"before"),
      Variant(VariantArray{0, {Variant(u"insert 1"), Variant(u"insert 2")}}),
      Variant(u"操作员"),
      Variant(u"9026"),
      Variant(u"9026"),
      Variant(u"操作员"),
  };
  EXPECT_EQ(service_->arguments, expected);
}

// A service whose every operation fails inside the host.
class ThrowingService : public RecordingService {
 public:
  Variant GetDatabaseKind() override { throw std::runtime_error("数据库连接已断开"); }
};

TEST(HostAdapterFailure, AFailedInvokeBecomesAHostCallErrorWithTheHostsText) {
  DispatchHostDataService adapter(MakeStandinDispatch(std::make_shared<ThrowingService>()));
  try {
    adapter.GetDatabaseKind();
    FAIL() << "no HostCallError";
  } catch (const HostCallError& error) {
    std::string text = error.what();
    EXPECT_NE(text.find("数据库连接已断开"), std::string::npos) << text;
  }
}

TEST(HostAdapterFailure, AnUnknownDispatchIdAndAMissingObjectFailCleanly) {
  ComPtr<IDispatch> host = MakeStandinDispatch(std::make_shared<RecordingService>());
  EXPECT_THROW(InvokeMethod(*host.get(), 99, {}), HostCallError);

  DispatchHostDataService without_host{ComPtr<IDispatch>()};
  Variant statements;
  EXPECT_THROW(without_host.ExecuteStatement(statements), HostCallError);
}

TEST(HostAdapterFailure, AFailingHostCallIsShownToTheOperatorNotThrown) {
  DispatchHostDataService adapter(MakeStandinDispatch(std::make_shared<ThrowingService>()));
  Win32Platform platform;
  MessageBoxWatcher watcher;

  GuardEvent(platform, 0, "读取数据库类型", [&] { adapter.GetDatabaseKind(); });

  ASSERT_EQ(watcher.boxes().size(), 1u);
  EXPECT_EQ(watcher.boxes()[0].caption, L"错误");
  EXPECT_EQ(watcher.boxes()[0].text.find(L"读取数据库类型失败："), 0u);
  EXPECT_NE(watcher.boxes()[0].text.find(L"数据库连接已断开"), std::wstring::npos);
}

// The four operations through the adapter and the stand-in's IDispatch to a
// SQLite file, through Wine's ODBC.
class HostAdapterOverSqlite : public ::testing::Test {
 protected:
  void SetUp() override {
    std::u16string file = ScratchFolder() + u"adapter.db";
    DeleteFileW(Wide(file).c_str());
    StandinConfig config;
    config.connection_string = ConnectionTo(file);
    config.refused_rights.push_back({u"操作员", u"9026"});
    adapter_.emplace(MakeStandinDispatch(std::make_shared<StandinDataService>(std::move(config))));
  }

  std::optional<DispatchHostDataService> adapter_;
};

TEST_F(HostAdapterOverSqlite, RunsTheFourOperationsWithChineseTextBothWays) {
  Variant schema(VariantArray{0, {Variant(std::u16string(kSchemaSql))}});
  ASSERT_TRUE(adapter_->ExecuteStatement(schema)) << HostErrorLines(schema);

  Variant insert(
      u"insert into tbdyjtxmda (f_jtxmbm, f_jtxmmc, f_lb) "
      u"values ('A01', '计件津贴', '计件')");
  ASSERT_TRUE(adapter_->ExecuteStatement(insert)) << HostErrorLines(insert);

  Variant result;
  ASSERT_TRUE(adapter_->ExecuteQuery(
      Variant(u"select f_jtxmbm, f_jtxmmc, f_lb from tbdyjtxmda where f_lb = '计件'"), result))
      << HostErrorLines(result);
  DataPacket packet = DataPacket::FromVariant(result);
  ASSERT_EQ(packet.row_count(), 1u);
  ASSERT_EQ(packet.columns().size(), 3u);
  EXPECT_EQ(packet.cell(0, 0), FieldValue(std::string("A01")));
  EXPECT_EQ(packet.cell(0, 1), FieldValue(std::string("计件津贴")));
  EXPECT_EQ(packet.cell(0, 2), FieldValue(std::string("计件")));

  std::optional<std::u16string> kind = adapter_->GetDatabaseKind().ToWideText();
  ASSERT_TRUE(kind.has_value());
  EXPECT_NE(*kind, u"SQLSERVER");
  EXPECT_FALSE(kind->empty());

  EXPECT_FALSE(adapter_->CheckRight(u"操作员", u"9026"));
  EXPECT_TRUE(adapter_->CheckRight(u"操作员", u"9027"));
}

TEST_F(HostAdapterOverSqlite, AFailedStatementAnswersFalseWithTheHostsErrorLines) {
  Variant statement(u"insert into no_such_table values (1)");
  EXPECT_FALSE(adapter_->ExecuteStatement(statement));
  ASSERT_EQ(statement.kind(), Variant::Kind::kArray);
  ASSERT_FALSE(statement.as_array().elements.empty());
  EXPECT_EQ(statement.as_array().lower_bound, 0);
  EXPECT_TRUE(statement.as_array().elements[0].ToWideText().has_value());
}

}  // namespace
}  // namespace tarnvex::testing
