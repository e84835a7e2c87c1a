// qtv-makecase: writes a sample work directory holding the response of a shear building to a
// deterministic earthquake, in the formats of the analysis (comdin.dat, u01.unf, u2.unf).
#include <CLI/CLI.hpp>
#include <iostream>

#include "case_plan.h"
#include "comdin_text.h"
#include "platform/program_end.h"
#include "sample_case.h"

int main(int argc, char** argv) {
  qtv::CaseOptions options;
  std::string out;
  std::string outOption;
  std::int32_t baseNodes = 0;

  CLI::App app{
      "Writes a sample work directory (comdin.dat, u01.unf, u2.unf): the time-history response\n"
      "of one or more shear-building columns, each standing on a fully restrained base node,\n"
      "to a deterministic ground motion in X, Y and (with 3 dof) vertical Z, integrated with\n"
      "Newmark's average-acceleration method. Results are written step by step, so memory\n"
      "does not grow with the duration."};
  app.add_option("folder", out, "Target folder (created if missing)");
  app.add_option("--out", outOption, "Target folder, instead of the positional one");
  app.add_option("--nodes", options.nodeCount, "Number of nodes, base nodes included")
      ->capture_default_str();
  app.add_option("--dof", options.dofPerNode,
                 "Degrees of freedom per node: 1 (x), 2 (x y), 3 (x y z)")
      ->capture_default_str();
  app.add_option("--dt", options.dt, "Time step DT in seconds")->capture_default_str();
  app.add_option("--duration", options.duration, "Length of the response in seconds")
      ->capture_default_str();
  app.add_option("--language", options.language, "Language flag of the description: E or R")
      ->capture_default_str();
  auto* baseOption =
      app.add_option("--base-nodes", baseNodes,
                     "Restrained base nodes, one per column (default: columns of up to 6 nodes)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : 2;
  }

  try {
    if (out.empty() == outOption.empty())
      throw qtv::UsageError("give the target folder once, either as an argument or with --out");
    const std::string folder = out.empty() ? outOption : out;
    if (baseOption->count() > 0) options.baseNodeCount = baseNodes;
    const qtv::CasePlan plan = qtv::planCase(options);
    const qtv::CaseSizes sizes = qtv::writeSampleCase(plan, folder);
    std::cout << "qtv-makecase: wrote " << folder << ": " << plan.nodeCount << " nodes ("
              << plan.columns.size() << " base), " << plan.dofPerNode << " dof, DT "
              << qtv::realText(plan.DT) << ", TT " << qtv::realText(plan.TT) << ", "
              << plan.stepCount << " steps (" << plan.storedStepCount << " stored); comdin.dat "
              << sizes.comdinBytes << " bytes, u01.unf " << sizes.u01Bytes << " bytes, u2.unf "
              << sizes.u2Bytes << " bytes\n";
    return 0;
  } catch (const qtv::UsageError& e) {
    std::cerr << "qtv-makecase: " << e.what() << "\n";
    return 2;
  } catch (const qtv::FatalError& e) {
    std::cerr << "qtv-makecase: " << e.what() << "\n";
    return 1;
  }
}
