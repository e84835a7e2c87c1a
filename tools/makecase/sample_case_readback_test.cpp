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
  for (const CaseOptions& options :
       {CaseOptions{.nodeCount = 12, .dofPerNode = 3, .dt = 0.01, .duration = 1.0, .language = "E", .baseNodeCount = 2},
        CaseOptions{.nodeCount = 7, .dofPerNode = 2, .dt = 0.02, .duration = 0.5, .language = "R", .baseNodeCount = 3},
        CaseOptions{.nodeCount = 4, .dofPerNode = 1, .dt = 0.005, .duration = 0.1, .language = "e", .baseNodeCount = 1}}) {
    const std::int32_t nodes = options.nodeCount, dof = options.dofPerNode, baseNodes = *options.baseNodeCount;
    const CasePlan plan = planCase(options);
    const std::string folder = testing::TempDir() + "readback";
    std::filesystem::remove_all(folder);
    writeSampleCase(plan, folder);

    const AnalysisDescription description = readAnalysisDescription(folder);
    EXPECT_EQ(description.nodeCount, nodes);
    EXPECT_EQ(description.restraintLineCount, baseNodes);
    EXPECT_EQ(description.valueLineCount, nodes - baseNodes);
    EXPECT_EQ(description.dofPerNode, dof);
    EXPECT_EQ(description.DT, plan.DT);
    EXPECT_EQ(description.TT, plan.TT);
    EXPECT_EQ(description.stepCount, plan.stepCount);
    EXPECT_EQ(description.languageText[0], plan.romanian ? 'R' : 'E');
    for (std::int32_t node = 1; node <= nodes; ++node) {
      bool base = false;
      for (const Column& column : plan.columns) base = base || column.baseNode == node;
      for (std::int32_t d = 1; d <= dof; ++d)
        EXPECT_EQ(description.restraintCodeOf(node, d), base ? 1 : 0) << node << " " << d;
    }
    // groups 8 and 9 as written: a repeat and tables over several lines
    EXPECT_EQ(description.group8Table3[24], 0.0f);
    EXPECT_EQ(description.group9Table1[24], 2.5f);
    EXPECT_EQ(description.group9Table2[1], 0.5f);
    EXPECT_EQ(description.group9Table3[0], 0.05f);
    EXPECT_EQ(description.group10Ints[2], 3);

    // The results files serve the last stored step of every node and nothing beyond.
    ResultsFiles results(folder, dof);
    float words[6];
    const std::int64_t last = plan.storedStepCount - 1;
    EXPECT_NO_THROW(
        results.displacementsAndVelocities.readRecord(last, nodes, nodes, words, 2 * dof));
    EXPECT_NO_THROW(results.accelerations.readRecord(last, nodes, nodes, words, dof));
    EXPECT_THROW(results.accelerations.readRecord(last + 1, 1, nodes, words, dof), FatalError);
  }
}

}  // namespace
}  // namespace qtv
