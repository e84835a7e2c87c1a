#include "sample_case.h"

#include <gtest/gtest.h>

#include <bit>
#include <fstream>
#include <iterator>
#include <vector>

#include "comdin_text.h"
#include "ground_motion.h"
#include "platform/program_end.h"
#include "shear_column.h"

namespace qtv {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path freshFolder(const std::string& name) {
  const fs::path folder = fs::path(testing::TempDir()) / name;
  fs::remove_all(folder);
  return folder;
}

// Word `word` (1-based) of the record of `node` at `step`, decoded here byte by byte.
float wordOf(const std::string& file, std::uint64_t recordLength, std::int64_t step,
             std::int32_t node, std::int32_t nodeCount, int word) {
  const std::uint64_t record = static_cast<std::uint64_t>(step) * nodeCount + node;
  const std::uint64_t offset =
      (record - 1) * recordLength + 4 * static_cast<std::uint64_t>(word - 1);
  std::uint32_t bits = 0;
  for (int i = 3; i >= 0; --i) bits = bits << 8 | static_cast<unsigned char>(file.at(offset + i));
  return std::bit_cast<float>(bits);
}

TEST(SampleCaseTest, ResultsFilesHoldExactlyOneRecordPerNodeAndStoredStep) {
  for (const CaseOptions& options :
       {CaseOptions{.nodeCount = 12, .dofPerNode = 3, .dt = 0.01, .duration = 2.0},
        CaseOptions{.nodeCount = 5, .dofPerNode = 1, .dt = 0.02, .duration = 0.5, .baseNodeCount = 5},
        CaseOptions{.nodeCount = 1, .dofPerNode = 2, .dt = 0.01, .duration = 0.0},
        CaseOptions{.nodeCount = 9, .dofPerNode = 2, .dt = 0.005, .duration = 0.3, .baseNodeCount = 1}}) {
    const CasePlan plan = planCase(options);
    const fs::path folder = freshFolder("sizes") / "nested";
    const CaseSizes sizes = writeSampleCase(plan, folder);
    const auto records = static_cast<std::uint64_t>(plan.storedStepCount) * options.nodeCount;
    EXPECT_EQ(sizes.u01Bytes, records * 32 * options.dofPerNode);
    EXPECT_EQ(sizes.u2Bytes, records * 16 * options.dofPerNode);
    EXPECT_EQ(fs::file_size(folder / "u01.unf"), sizes.u01Bytes);
    EXPECT_EQ(fs::file_size(folder / "u2.unf"), sizes.u2Bytes);
    EXPECT_EQ(contentOf(folder / "comdin.dat"), comdinText(plan));
    EXPECT_EQ(sizes.comdinBytes, comdinText(plan).size());
  }
}

// Seven nodes on two base nodes: column 1 is node 1 (base) and storeys 2..4, column 2 is node 5
// (base) and storeys 6, 7. Every record must hold what an independent run of the column gives.
TEST(SampleCaseTest, EachRecordHoldsItsNodesMotionAtItsOffset) {
  CaseOptions options;
  options.nodeCount = 7;
  options.baseNodeCount = 2;
  options.duration = 0.6;
  const CasePlan plan = planCase(options);
  const fs::path folder = freshFolder("layout");
  writeSampleCase(plan, folder);
  const std::string u01 = contentOf(folder / "u01.unf");
  const std::string u2 = contentOf(folder / "u2.unf");
  const int n = 3;

  struct Storey {
    int column, storeyCount, storey;
    std::int32_t node;
  };
  for (const Storey& at : {Storey{0, 3, 2, 3}, Storey{1, 2, 2, 7}}) {
    for (int d = 0; d < n; ++d) {
      const double ag0 = groundAcceleration(d, 0, plan.TT);
      ShearColumn column(at.storeyCount, plan.storeyMass,
                         storeyStiffness(at.column, at.storeyCount, d, plan.storeyMass),
                         plan.dampingRatio, plan.DT, ag0);
      for (std::int64_t s = 0; s < plan.storedStepCount; ++s) {
        const double ag = groundAcceleration(d, static_cast<double>(s) * plan.DT, plan.TT);
        if (s > 0) column.advance(ag);
        const auto u01Word = [&](int word) { return wordOf(u01, 32 * n, s, at.node, 7, word); };
        const auto u2Word = [&](int word) { return wordOf(u2, 16 * n, s, at.node, 7, word); };
        ASSERT_EQ(u01Word(1 + d), static_cast<float>(column.displacement(at.storey)));
        ASSERT_EQ(u01Word(n + 1 + d), static_cast<float>(column.velocity(at.storey)));
        ASSERT_EQ(u01Word(2 * n + 1 + d), static_cast<float>(column.acceleration(at.storey) + ag));
        ASSERT_EQ(u2Word(1 + d), static_cast<float>(column.acceleration(at.storey)));
        ASSERT_EQ(u2Word(n + 1 + d), static_cast<float>(column.acceleration(at.storey) + ag));
      }
      EXPECT_NE(column.displacement(at.storey), 0.0);
    }
  }

  // Base nodes stand still with the ground: only their absolute accelerations are nonzero.
  // Words past those are zero in every record.
  for (std::int64_t s = 0; s < plan.storedStepCount; ++s) {
    const float ag =
        static_cast<float>(groundAcceleration(0, static_cast<double>(s) * plan.DT, plan.TT));
    for (std::int32_t node = 1; node <= 7; ++node) {
      const bool base = node == 1 || node == 5;
      for (int w = 1; w <= 8 * n; ++w) {
        const bool absolute = w > 2 * n && w <= 3 * n;
        const bool zero = w > 3 * n || (base && !absolute);
        ASSERT_TRUE(!zero || wordOf(u01, 32 * n, s, node, 7, w) == 0.0f) << node << " " << w;
      }
      for (int w = 1; w <= 4 * n; ++w) {
        const bool absolute = w > n && w <= 2 * n;
        const bool zero = w > 2 * n || (base && !absolute);
        ASSERT_TRUE(!zero || wordOf(u2, 16 * n, s, node, 7, w) == 0.0f) << node << " " << w;
      }
      ASSERT_TRUE(!base || wordOf(u2, 16 * n, s, node, 7, n + 1) == ag) << node;
    }
  }
}

TEST(SampleCaseTest, AFolderThatCannotBeMadeIsReportedNamingIt) {
  const fs::path file = freshFolder("blocker");
  std::ofstream(file).put('x');
  try {
    writeSampleCase(planCase(CaseOptions{}), file / "case");
    ADD_FAILURE() << "wrote a case below a plain file";
  } catch (const FatalError& e) {
    EXPECT_EQ(std::string(e.what()),
              (file / "case").string() + ": cannot create folder: Not a directory");
  }
}

}  // namespace
}  // namespace qtv
