// Failure paths of loading and navigation, against a scripted host: a query
// that fails, a host call that throws. The operator sees the right message,
// loading goes on, nothing escapes.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/data_model.h"
#include "editor/editor_flags.h"
#include "editor/subsidy_set_form.h"
#include "host/sql_dialect.h"
#include "support/editor_harness.h"
#include "support/recording_message_boxes.h"
#include "support/scripted_host.h"

namespace tarnvex {
namespace {

using testing::EditorHarness;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::ScriptedHost;

class EditorFailure : public ::testing::Test {
 protected:
  EditorFailure() : host_(std::make_shared<ScriptedHost>()), harness_(host_) {
    testing::ScriptCatalogue(
        *host_, {{"A1", "甲", "c1", "1"}, {"A2", "乙", "c1"}, {"B1", "丙", "c2"}},
        {{"A1", "01", "车一"}, {"A1", "02", "车二"}, {"B1", "01", "车一"}}, {"01", "02"});
  }

  std::vector<std::string> BoxTexts() { return testing::CaptionsAndTexts(harness_.TakeBoxes()); }

  std::shared_ptr<ScriptedHost> host_;
  EditorHarness harness_;
};

TEST_F(EditorFailure, AFailedLoadShowsTheHostsLinesAndTheOtherTablesStillLoad) {
  host_->Script(kLoadItemsSql, ScriptedHost::Fails({"第一行", "第二行"}));
  TfrmSubsidySet& editor = harness_.Open();

  // Once per load (tree build, start-up's second load) and once for the item grid.
  EXPECT_THAT(BoxTexts(), ElementsAre("错误|第一行\r\n第二行", "错误|第一行\r\n第二行",
                                      "错误|第一行\r\n第二行", "错误|第一行\r\n第二行"));
  EXPECT_TRUE(EditorFlags().LoadDone);
  EXPECT_FALSE(editor.cdsArc.IsLoaded());
  EXPECT_EQ(editor.cdsType.RecordCount(), 3u);
  EXPECT_EQ(editor.cdsCX.RecordCount(), 2u);
  // The tree still comes from its own queries.
  EXPECT_EQ(editor.TreeNT.FirstNode()->children().size(), 2u);
  EXPECT_EQ(editor.cgdArc.RowCount(), 2);
  EXPECT_EQ(editor.cgdArc.Cells(0, 1), "");
}

TEST_F(EditorFailure, AFailedCategoryQueryLeavesTheRootOnlyAndUnexpanded) {
  host_->Script("select distinct f_lb from tbdyjtxmda order by f_lb",
                ScriptedHost::Fails({"没有类别"}));
  TfrmSubsidySet& editor = harness_.Open();
  EXPECT_THAT(BoxTexts(), ElementsAre("错误|没有类别"));
  ASSERT_NE(editor.TreeNT.FirstNode(), nullptr);
  EXPECT_TRUE(editor.TreeNT.FirstNode()->children().empty());
  EXPECT_FALSE(editor.TreeNT.FirstNode()->expanded());
  EXPECT_EQ(editor.cgdArc.Cells(0, 2), "A2");
}

TEST_F(EditorFailure, AFailedItemQueryEndsTheBuildAfterItsCategory) {
  host_->Script("select f_jtxmbm,f_jtxmmc from tbdyjtxmda where f_lb='c1'",
                ScriptedHost::Fails({"坏了"}));
  TfrmSubsidySet& editor = harness_.Open();
  EXPECT_THAT(BoxTexts(), ElementsAre("错误|坏了"));
  const auto& categories = editor.TreeNT.FirstNode()->children();
  ASSERT_EQ(categories.size(), 1u);
  EXPECT_TRUE(categories[0]->children().empty());
}

TEST_F(EditorFailure, AHostCallThatThrowsDuringANodeChangeIsShownAndTheEditorGoesOn) {
  TfrmSubsidySet& editor = harness_.Open();
  ASSERT_TRUE(BoxTexts().empty());
  host_->Script(kLoadItemsSql, ScriptedHost::Throws("the host object is gone"));
  TreeNode* root = editor.TreeNT.FirstNode();
  editor.TreeNT.Select(root->children()[0].get());

  editor.TreeNT.Select(root);

  const auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "错误");
  EXPECT_EQ(boxes[0].icon, MessageIcon::kError);
  EXPECT_EQ(boxes[0].owner, editor.window());
  EXPECT_THAT(boxes[0].text, HasSubstr("the host object is gone"));
  // The rest of the node change did not run; the tree still works.
  editor.TreeNT.Select(root->children()[1].get());
  EXPECT_THAT(EditorHarness::ColumnTexts(editor.cgdArc, 0), ElementsAre("B1"));
  EXPECT_THAT(EditorHarness::ColumnTexts(editor.cgdType, 0), ElementsAre("01"));
}

TEST_F(EditorFailure, AHostCallThatThrowsDuringCreationEndsTheStepsWithAMessage) {
  EditorFlags().LoadDone = true;  // as an earlier editor of the process leaves it
  host_->throw_on_kind = true;
  TfrmSubsidySet& editor = harness_.Open();
  const auto boxes = harness_.TakeBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "错误");
  EXPECT_THAT(boxes[0].text, HasSubstr("GetDatabaseKind"));
  EXPECT_TRUE(host_->queries.empty());
  EXPECT_EQ(editor.TreeNT.FirstNode(), nullptr);
  // Node changes and row clicks do nothing in an editor whose loading ended.
  EXPECT_FALSE(EditorFlags().LoadDone);
}

TEST_F(EditorFailure, ACategoryWithAQuoteStaysOneLiteral) {
  testing::ScriptCatalogue(*host_, {{"Q1", "引号", "O'Neil"}}, {}, {});
  host_->Script("select f_jtxmbm,f_jtxmmc from tbdyjtxmda where f_lb='O''Neil'",
                ScriptedHost::Rows(testing::ItemsPacket({{"Q1", "引号", "O'Neil"}})));
  TfrmSubsidySet& editor = harness_.Open();
  EXPECT_TRUE(BoxTexts().empty());
  const auto& categories = editor.TreeNT.FirstNode()->children();
  ASSERT_EQ(categories.size(), 1u);
  EXPECT_EQ(categories[0]->text(), "O'Neil");
  ASSERT_EQ(categories[0]->children().size(), 1u);
  EXPECT_EQ(categories[0]->children()[0]->text(), "Q1 引号");
}

TEST_F(EditorFailure, NodeChangesDuringLoadingAreIgnored) {
  TfrmSubsidySet& editor = harness_.Open();
  // Start-up loads the items twice and fills the item grid once; showing
  // selects the root, which asks once more. The node reports of the tree
  // build asked for nothing.
  int item_queries = 0;
  for (const std::string& sql : host_->queries) item_queries += sql == kLoadItemsSql;
  EXPECT_EQ(item_queries, 4);
  EXPECT_EQ(editor.TreeNT.selected(), editor.TreeNT.FirstNode());
}

// The kind is trimmed and compared exactly.
class DatabaseKind : public ::testing::TestWithParam<std::pair<Variant, bool>> {};

TEST_P(DatabaseKind, OnlySqlServerKeepsTheSqlServerDialect) {
  auto host = std::make_shared<ScriptedHost>();
  testing::ScriptCatalogue(*host, {}, {}, {});
  host->kind = GetParam().first;
  EditorHarness harness(host);
  harness.Open().DetectDatabaseKind();
  EXPECT_EQ(EditorFlags().UseAnsiDialect, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Kinds, DatabaseKind,
                         ::testing::Values(std::make_pair(Variant(u"SQLSERVER"), false),
                                           std::make_pair(Variant(u"  SQLSERVER\t"), false),
                                           std::make_pair(Variant(u"sqlserver"), true),
                                           std::make_pair(Variant(u"SQL SERVER"), true),
                                           std::make_pair(Variant(u""), true),
                                           std::make_pair(Variant::Null(), true)));

TEST(EditorRights, TheOperatorsCodeAndFunction9026GoToTheHost) {
  auto host = std::make_shared<ScriptedHost>();
  testing::ScriptCatalogue(*host, {}, {}, {});
  host->right = false;
  EditorHarness harness(host);
  TfrmSubsidySet& editor = harness.Open();
  EXPECT_FALSE(editor.CheckOperatorRight());
  EXPECT_THAT(host->right_checks,
              ElementsAre(std::make_pair(std::u16string(u"0001"), std::u16string(u"9026"))));
}

}  // namespace
}  // namespace tarnvex
