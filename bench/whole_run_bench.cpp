// Whole-run benchmark: generates a large case, times `qtv extract` of 10 nodes with every
// quantity and direction, and compares it with merely writing the same bytes to the same files.
//
//   whole_run_bench QTV MAKECASE FOLDER
//
// The case (200 nodes, 3 degrees of freedom, 50,001 steps: about 1.4 GB of results) is made in
// FOLDER once and reused by later runs.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Measurement {
  double seconds;
  long maxResidentKiB;  // all resident pages, the mapped results files' page-cache pages included
  long maxPrivateKiB;   // the process's own memory (anonymous pages), sampled while it runs
};

// RssAnon of a running process, in KiB; 0 once it has ended.
long privateKiB(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("RssAnon:", 0) == 0) return std::stol(line.substr(8));
  }
  return 0;
}

Measurement runQuietly(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
    std::cerr << "cannot start " << arguments[0] << "\n";
    std::exit(1);
  }
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  rusage usage{};
  long maxPrivate = 0;
  while (wait4(child, &status, WNOHANG, &usage) == 0) {
    maxPrivate = std::max(maxPrivate, privateKiB(child));
    usleep(2000);
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::cerr << arguments[0] << " failed\n";
    std::exit(1);
  }
  return {elapsed.count(), usage.ru_maxrss, maxPrivate};
}

// Writes each file's bytes to the same path through a 64 KiB buffer: the cost of the output
// alone, without reading results or formatting numbers.
double writeFloor(const std::vector<std::string>& paths) {
  std::vector<std::string> contents;
  for (const auto& path : paths) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    contents.push_back(bytes.str());
  }
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string temporary = paths[i] + ".floor";
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const std::string& text = contents[i];
    for (std::size_t done = 0; done < text.size();) {
      const std::size_t chunk = std::min<std::size_t>(65536, text.size() - done);
      const auto written = write(descriptor, text.data() + done, chunk);
      if (written <= 0) std::exit(1);
      done += static_cast<std::size_t>(written);
    }
    close(descriptor);
    std::rename(temporary.c_str(), paths[i].c_str());
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: whole_run_bench QTV MAKECASE FOLDER\n";
    return 2;
  }
  const std::string qtv = argv[1], makecase = argv[2], folder = argv[3];
  if (!std::filesystem::exists(folder + "/u2.unf")) {
    std::cout << "generating the case in " << folder << " ..." << std::endl;
    const auto made = runQuietly({makecase, "--nodes", "200", "--dof", "3", "--dt", "0.01", "--duration", "500",
                                  "--out", folder});
    std::cout << "generated in " << made.seconds << " s, max RSS " << made.maxResidentKiB << " KiB" << std::endl;
  }
  // Warm the page cache so that every run reads the results from memory.
  runQuietly({"/bin/cat", folder + "/u01.unf", folder + "/u2.unf"});

  // Ten nodes spread over the model, none of them a restrained base node (every sixth from 1).
  const std::string nodes = "22,41,60,78,96,116,135,154,172,192";
  auto extract = [&](const std::string& end) {
    return std::vector<std::string>{qtv, "extract", folder, "--nodes", nodes, "--quantities", "d,v,a,p",
                                    "--directions", "x,y,z", "--end", end};
  };
  constexpr int kRepeats = 3;
  Measurement best{1e9, 0, 0};
  for (int i = 0; i < kRepeats; ++i) {
    const auto run = runQuietly(extract("500"));
    best.seconds = std::min(best.seconds, run.seconds);
    best.maxResidentKiB = std::max(best.maxResidentKiB, run.maxResidentKiB);
    best.maxPrivateKiB = std::max(best.maxPrivateKiB, run.maxPrivateKiB);
  }
  const auto shortWindow = runQuietly(extract("50"));

  std::vector<std::string> historyFiles;
  std::uintmax_t lines = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const auto extension = entry.path().extension().string();
    if (extension == ".dep" || extension == ".vit" || extension == ".faz" || extension == ".acc") {
      historyFiles.push_back(entry.path().string());
    }
  }
  // The last runs wrote the short window: write the whole window again for the floor.
  runQuietly(extract("500"));
  for (const auto& path : historyFiles) lines += std::filesystem::file_size(path) / 32;
  double floor = 1e9;
  for (int i = 0; i < kRepeats; ++i) floor = std::min(floor, writeFloor(historyFiles));

  std::cout << "history files: " << historyFiles.size() << ", history lines: " << lines << "\n"
            << "qtv extract (best of " << kRepeats << "): " << best.seconds << " s, "
            << best.seconds * 1e9 / static_cast<double>(lines) << " ns per history line\n"
            << "writing the same bytes (best of " << kRepeats << "): " << floor << " s\n"
            << "ratio to the write floor: " << best.seconds / floor << "\n"
            << "private memory (peak RssAnon), whole window: " << best.maxPrivateKiB
            << " KiB; window of a tenth: " << shortWindow.maxPrivateKiB << " KiB\n"
            << "max RSS with the mapped results pages, whole window: " << best.maxResidentKiB
            << " KiB; window of a tenth: " << shortWindow.maxResidentKiB << " KiB\n";
  return 0;
}
