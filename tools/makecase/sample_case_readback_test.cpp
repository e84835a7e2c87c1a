// A generated case read back through the program's own readers.
#include <gtest/gtest.h>

#include <filesystem>

#include "input/analysis_description.h"
#include "input/results_files.h"
#include "platform/program_end.h"
#include "sample_case.h"

namespace qtv {
namespace {

TEST(SampleCaseReadbackTest, TheDescriptionReadsBackAsPlanned) {
  struct Case {
    std::int32_t nodes, dof, baseNodes;
    double dt, duration;
    const char* language;
  };
  for (const Case& c : {Case{12, 3, 2, 0.01, 1.0, "E"}, Case{7, 2, 3, 0.02, 0.5, "R"},
                        Case{4, 1, 1, 0.005, 0.1, "e"}}) {
    CaseOptions options;
    options.nodeCount = c.nodes;
    options.dofPerNode = c.dof;
    options.baseNodeCount = c.baseNodes;
    options.dt = c.dt;
    options.duration = c.duration;
    options.language = c.language;
    const CasePlan plan = planCase(options);
    const std::string folder = testing::TempDir() + "readback";
    std::filesystem::remove_all(folder);
    writeSampleCase(plan, folder);

    const AnalysisDescription description = readAnalysisDescription(folder);
    EXPECT_EQ(description.nodeCount, c.nodes);
    EXPECT_EQ(description.restraintLineCount, c.baseNodes);
    EXPECT_EQ(description.valueLineCount, c.nodes - c.baseNodes);
    EXPECT_EQ(description.dofPerNode, c.dof);
    EXPECT_EQ(description.DT, plan.DT);
    EXPECT_EQ(description.TT, plan.TT);
    EXPECT_EQ(description.stepCount, plan.stepCount);
    EXPECT_EQ(description.languageText[0], plan.romanian ? 'R' : 'E');
    for (std::int32_t node = 1; node <= c.nodes; ++node) {
      bool base = false;
      for (const Column& column : plan.columns) base = base || column.baseNode == node;
      for (std::int32_t d = 1; d <= c.dof; ++d)
        EXPECT_EQ(description.restraintCodeOf(node, d), base ? 1 : 0) << node << " " << d;
    }
    // groups 8 and 9 as written: a repeat and tables over several lines
    EXPECT_EQ(description.group8Table3[24], 0.0f);
    EXPECT_EQ(description.group9Table1[24], 2.5f);
    EXPECT_EQ(description.group9Table2[1], 0.5f);
    EXPECT_EQ(description.group9Table3[0], 0.05f);
    EXPECT_EQ(description.group10Ints[2], 3);

    // The results files serve the last stored step of every node and nothing beyond.
    ResultsFiles results(folder, c.dof);
    float words[6];
    const std::int64_t last = plan.storedStepCount - 1;
    EXPECT_NO_THROW(
        results.displacementsAndVelocities.readRecord(last, c.nodes, c.nodes, words, 2 * c.dof));
    EXPECT_NO_THROW(results.accelerations.readRecord(last, c.nodes, c.nodes, words, c.dof));
    EXPECT_THROW(results.accelerations.readRecord(last + 1, 1, c.nodes, words, c.dof), FatalError);
  }
}

}  // namespace
}  // namespace qtv
