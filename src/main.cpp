// qtv: with no arguments the interactive run; `qtv extract` and `qtv info` without a window.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

#include "driver/extract_command.h"
#include "driver/info_command.h"
#include "driver/run.h"
#include "platform/program_end.h"
#include "platform/stdio/floating_point_mode.h"
#include "platform/stdio/stdio_console.h"
#include "interactive_platform.h"

int main(int argc, char** argv) {
  qtv::setFlushToZeroMode();

  CLI::App app{"QTV: motion histories of selected nodes from the results of a dynamic analysis.\n"
               "Without a subcommand it runs interactively: choose the work directory, then the nodes,\n"
               "the time window, the quantities and the directions in the dialog."};
  app.require_subcommand(0, 1);

  qtv::ExtractOptions extract;
  auto* extractCommand = app.add_subcommand(
      "extract", "Write history files without any window; the options play the user's part in the dialog.");
  extractCommand->add_option("WORKDIR", extract.workDirectory, "work directory holding comdin.dat, u01.unf and u2.unf")
      ->required();
  extractCommand->add_option("--nodes", extract.nodes, "node numbers and ranges (2,5,10-20) or 'all'")->required();
  extractCommand->add_option("--start", extract.start, "Start Time as typed in the dialog (default 0.0)");
  extractCommand->add_option("--end", extract.end, "End Time as typed in the dialog (default TT)");
  extractCommand->add_option("--every", extract.every, "Step Frequency as typed in the dialog (default 1)");
  extractCommand->add_option("--quantities", extract.quantities,
                             "displacement,velocity,acceleration,phase or d,v,a,p (default displacement)");
  extractCommand->add_option("--directions", extract.directions,
                             "x,y,z; z only with three degrees of freedom per node (default y, or z with three)");

  extractCommand->footer(
      "Examples:\n"
      "  qtv extract work --nodes 2-6 --quantities d,v,a,p --directions x,y\n"
      "  qtv extract work --nodes all --start 2.5 --end 7.5 --every 5 --directions x\n"
      "  qtv extract work --nodes 8,12 --quantities acceleration --directions z\n"
      "History files <node><direction>.dep/.vit/.faz/.acc are written into the work directory.\n"
      "Exit status: 0 done, 1 a file could not be read or written, 2 a usage error or a choice the\n"
      "dialog would refuse.");

  std::string infoDirectory;
  bool infoJson = false;
  auto* infoCommand = app.add_subcommand("info", "Print what the analysis description of a work directory holds.");
  infoCommand->add_option("WORKDIR", infoDirectory, "work directory holding comdin.dat")->required();
  infoCommand->add_flag("--json", infoJson, "every field of the description as JSON");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::ParseError& error) {
    app.exit(error);
    return 2;
  }

  try {
    if (*extractCommand) {
      qtv::StdioConsole console(stdin, stdout);
      return qtv::runExtract(extract, console, std::cerr);
    }
    if (*infoCommand) return qtv::runInfoCommand(infoDirectory, infoJson, std::cout);
    return qtv::runInteractiveOnThisMachine(argc, argv);
  } catch (const qtv::ProgramEnd& end) {
    return end.status;
  } catch (const qtv::FatalError& error) {
    std::cerr << error.what() << '\n';
    return 1;
  } catch (const qtv::UsageError& error) {
    std::cerr << "qtv: " << error.what() << "\nRun with --help for more information.\n";
    return 2;
  }
}
