#include "case_plan.h"

#include <gtest/gtest.h>

#include "platform/program_end.h"

namespace qtv {
namespace {

TEST(CasePlanTest, DefaultsGiveTwoColumnsOfFiveStoreys) {
  const CasePlan plan = planCase(CaseOptions{});
  EXPECT_EQ(plan.nodeCount, 12);
  EXPECT_EQ(plan.dofPerNode, 3);
  EXPECT_EQ(plan.DT, 0.01f);
  EXPECT_EQ(plan.stepCount, 1001);
  EXPECT_EQ(plan.TT, 1000.0f * 0.01f);
  EXPECT_EQ(plan.storedStepCount, 1001);
  EXPECT_FALSE(plan.romanian);
  ASSERT_EQ(plan.columns.size(), 2u);
  EXPECT_EQ(plan.columns[0].baseNode, 1);
  EXPECT_EQ(plan.columns[0].storeyCount, 5);
  EXPECT_EQ(plan.columns[1].baseNode, 7);
  EXPECT_EQ(plan.columns[1].storeyCount, 5);
}

TEST(CasePlanTest, SharesTheNodesOutOverTheBaseNodes) {
  CaseOptions options;
  options.nodeCount = 11;
  options.baseNodeCount = 3;  // 4 + 4 + 3 nodes
  const CasePlan plan = planCase(options);
  ASSERT_EQ(plan.columns.size(), 3u);
  EXPECT_EQ(plan.columns[0].baseNode, 1);
  EXPECT_EQ(plan.columns[0].storeyCount, 3);
  EXPECT_EQ(plan.columns[1].baseNode, 5);
  EXPECT_EQ(plan.columns[1].storeyCount, 3);
  EXPECT_EQ(plan.columns[2].baseNode, 9);
  EXPECT_EQ(plan.columns[2].storeyCount, 2);
}

TEST(CasePlanTest, TimeAxisFollowsDurationAndStep) {
  struct Case {
    double dt, duration;
    std::int32_t stepCount;
  };
  for (const Case& c :
       {Case{0.01, 10, 1001}, Case{0.02, 0.999, 51}, Case{0.005, 0, 1}, Case{0.1, 1e-3, 1}}) {
    CaseOptions options;
    options.dt = c.dt;
    options.duration = c.duration;
    const CasePlan plan = planCase(options);
    EXPECT_EQ(plan.stepCount, c.stepCount) << c.dt << " " << c.duration;
    EXPECT_EQ(plan.TT, static_cast<float>(c.stepCount - 1) * static_cast<float>(c.dt));
  }
}

// Every step whose single-precision time lies within TT must be stored, even beyond stepCount.
TEST(CasePlanTest, StoresEveryStepWhoseSinglePrecisionTimeIsWithinTT) {
  for (double duration : {10.0, 131072.0, 200000.0}) {
    CaseOptions options;
    options.duration = duration;
    const CasePlan plan = planCase(options);
    const auto last = plan.storedStepCount - 1;
    EXPECT_GE(plan.storedStepCount, plan.stepCount);
    EXPECT_LE(static_cast<float>(last) * plan.DT, plan.TT) << duration;
    EXPECT_GT(static_cast<float>(last + 1) * plan.DT, plan.TT) << duration;
  }
  CaseOptions options;
  options.duration = 200000.0;  // steps 0.01 apart are finer than the floats near TT
  const CasePlan plan = planCase(options);
  EXPECT_GT(plan.storedStepCount, plan.stepCount);
}

TEST(CasePlanTest, RefusesOptionsItCannotCarryOut) {
  struct Case {
    void (*change)(CaseOptions&);
    const char* message;
  };
  const Case cases[] = {
      {[](CaseOptions& o) { o.nodeCount = 0; }, "--nodes must be at least 1"},
      {[](CaseOptions& o) { o.dofPerNode = 0; }, "--dof must be 1, 2 or 3"},
      {[](CaseOptions& o) { o.dofPerNode = 4; }, "--dof must be 1, 2 or 3"},
      {[](CaseOptions& o) { o.dt = 0; }, "--dt must be a positive number of seconds"},
      {[](CaseOptions& o) { o.dt = 1e-60; }, "--dt must be a positive number of seconds"},
      {[](CaseOptions& o) { o.dt = 1e60; }, "--dt must be a positive number of seconds"},
      {[](CaseOptions& o) { o.duration = -1; },
       "--duration must be zero or a positive number of seconds"},
      {[](CaseOptions& o) { o.duration = 1e9; },
       "--duration / --dt gives more steps than the analysis description can hold"},
      {[](CaseOptions& o) { o.language = "ro"; }, "--language must be E or R, not 'ro'"},
      {[](CaseOptions& o) { o.baseNodeCount = 0; },
       "--base-nodes must lie between 1 and the number of nodes (12)"},
      {[](CaseOptions& o) { o.baseNodeCount = 13; },
       "--base-nodes must lie between 1 and the number of nodes (12)"},
  };
  for (const Case& c : cases) {
    CaseOptions options;
    c.change(options);
    try {
      planCase(options);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const UsageError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace qtv
