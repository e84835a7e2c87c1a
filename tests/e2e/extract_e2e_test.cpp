// The built qtv on hand-made and generated work directories, as a user or a script runs it.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "history/number_text.h"
#include "process.h"
#include "work_directory_fixture.h"

namespace qtv {
namespace {

using test::CaseShape;
using test::ProcessResult;
using test::runProgram;
using test::WorkDirectoryFixture;

ProcessResult qtv(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), QTV_PROGRAM);
  return runProgram(arguments);
}

std::string lines(const std::vector<std::string>& texts) {
  std::string joined;
  for (const auto& text : texts) joined += text + "\n";
  return joined;
}

TEST(ExtractEndToEnd, WritesExactHistoryFilesAndConsoleLines) {
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{.nodeCount = 3, .dofPerNode = 2, .restrainedNodes = {1}});
  work.writeText("2x.dep", "an old and much longer file that must go away entirely\r\n");

  const auto result = qtv({"extract", work.path(), "--nodes", "2", "--start", "0.25", "--end", "0.5",
                           "--quantities", "d,p,a", "--directions", "x"});

  EXPECT_EQ(result.status, 0) << result.standardError;
  EXPECT_EQ(result.standardError, "");
  const std::string folder = work.path() + "/";
  EXPECT_EQ(result.standardOutput,
            lines({" No. of Selected Nodes = 1", " Creating Files:", " Node 2:", " x: " + folder + "2x.dep",
                   "    " + folder + "2x.faz", " x: " + folder + "2x.acc", " * Working for node 2 ...",
                   " *QTV finished"}));
  // Steps 2 to 5; the first lies before the start time.
  EXPECT_EQ(work.readText("2x.dep"),
            "  0.2000000       2.515625    \r\n"
            "  0.3000000       2.765625    \r\n"
            "  0.4000000       3.015625    \r\n"
            "  0.5000000       3.265625    \r\n");
  EXPECT_EQ(work.readText("2x.faz"),
            "   2.515625      -2.265625    \r\n"
            "   2.765625      -2.390625    \r\n"
            "   3.015625      -2.515625    \r\n"
            "   3.265625      -2.640625    \r\n");
  EXPECT_EQ(work.readText("2x.acc"),
            "  0.2000000       1.062500    \r\n"
            "  0.3000000       1.562500    \r\n"
            "  0.4000000       2.062500    \r\n"
            "  0.5000000       2.562500    \r\n");
}

// Every line of every file of a generated case against the words of the results files.
TEST(ExtractEndToEnd, GeneratedCaseMatchesItsResultsFiles) {
  WorkDirectoryFixture work;
  const auto made = runProgram({QTV_MAKECASE, "--nodes", "8", "--dof", "3", "--dt", "0.02", "--duration", "2",
                                "--out", work.path()});
  ASSERT_EQ(made.status, 0) << made.standardError;
  const auto result = qtv({"extract", work.path(), "--nodes", "all", "--quantities", "d,v,a,p", "--directions",
                           "x,y,z", "--every", "3"});
  ASSERT_EQ(result.status, 0) << result.standardError;

  const std::string u01 = work.readText("u01.unf"), u2 = work.readText("u2.unf");
  const auto word = [](const std::string& file, std::int64_t record, int recordWords, int index) {
    float value;
    std::memcpy(&value, file.data() + (record * recordWords + index) * 4, 4);
    return value;
  };
  const auto field = [](float value) {
    char text[15];
    formatHistoryField(value, text);
    return std::string(text, 15);
  };
  int checkedFiles = 0;
  for (std::int32_t node = 1; node <= 8; ++node) {
    if (!work.exists(std::to_string(node) + "x.dep")) continue;  // a restrained base node
    for (int d = 0; d < 3; ++d) {
      const std::string stem = std::to_string(node) + "xyz"[d];
      std::string dep, vit, faz, acc;
      for (std::int64_t step = 0; static_cast<float>(step) * 0.02f <= 2.0f; step += 3) {
        const std::int64_t record = step * 8 + node - 1;
        const std::string time = field(static_cast<float>(step) * 0.02f);
        const float u = word(u01, record, 24, d), v = word(u01, record, 24, 3 + d), a = word(u2, record, 12, d);
        dep += time + field(u) + "\r\n";
        vit += time + field(v) + "\r\n";
        faz += field(u) + field(v) + "\r\n";
        acc += time + field(a) + "\r\n";
      }
      EXPECT_EQ(work.readText(stem + ".dep"), dep) << stem;
      EXPECT_EQ(work.readText(stem + ".vit"), vit) << stem;
      EXPECT_EQ(work.readText(stem + ".faz"), faz) << stem;
      EXPECT_EQ(work.readText(stem + ".acc"), acc) << stem;
      ++checkedFiles;
    }
  }
  EXPECT_GT(checkedFiles, 0);
}

TEST(ExtractEndToEnd, FileErrorsNameTheFileAndKeepOldHistories) {
  const struct {
    const char* what;
    std::function<void(WorkDirectoryFixture&)> spoil;
    std::string message;  // after the folder
  } cases[] = {
      {"short results file", [](WorkDirectoryFixture& w) { w.truncate("u01.unf", 16 * 96 + 95); },
       "u01.unf: the record of node 2 at step 5 lies beyond the end of the file (record 17, file holds 16 records)"},
      {"missing u2.unf", [](WorkDirectoryFixture& w) { std::filesystem::remove(w.file("u2.unf")); },
       "u2.unf: cannot open: No such file or directory"},
      {"malformed description", [](WorkDirectoryFixture& w) { w.writeText("comdin.dat", "3 0 0 0 1.5 0 0 0\n"); },
       "comdin.dat:1: expected an integer, found '1.5'"},
  };
  for (const auto& c : cases) {
    WorkDirectoryFixture work;
    work.writeCase(CaseShape{});
    work.writeText("2z.dep", "old 2\r\n");
    work.writeText("3z.dep", "old 3\r\n");
    c.spoil(work);
    const auto result = qtv({"extract", work.path(), "--nodes", "2,3"});
    EXPECT_EQ(result.status, 1) << c.what;
    EXPECT_EQ(result.standardError, work.path() + "/" + c.message + "\n") << c.what;
    EXPECT_EQ(work.readText("2z.dep"), "old 2\r\n") << c.what;
    EXPECT_EQ(work.readText("3z.dep"), "old 3\r\n") << c.what;
    for (const auto& name : work.entries()) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
  }
}

// A small file system of its own, for a work directory that is full or cannot be written.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(const std::string& folder) : folder_(folder) {
    std::filesystem::create_directories(folder_);
    mounted_ = mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=256k") == 0;
  }
  ~SmallFileSystem() {
    if (mounted_) umount(folder_.c_str());
    std::filesystem::remove(folder_);
  }
  bool mounted() const { return mounted_; }
  bool makeReadOnly() { return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=256k") == 0; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

TEST(ExtractEndToEnd, FullDiskAndReadOnlyFolderKeepOldHistories) {
  for (const bool readOnly : {false, true}) {
    WorkDirectoryFixture outer;
    const std::string folder = outer.file("small");
    SmallFileSystem small(folder);
    if (!small.mounted()) {
      GTEST_SKIP() << "mounting a tmpfs needs root";
    }
    // 400 steps of 2 nodes; the output of one node (3 files of 400 lines) does not fit.
    CaseShape shape{.nodeCount = 2, .dofPerNode = 1, .DT = "0.01", .TT = "3.99", .stepCount = 400, .storedSteps = 400};
    const std::string description = test::comdinText(shape);
    {
      WorkDirectoryFixture source;
      source.writeCase(shape);
      for (const auto* name : {"comdin.dat", "u01.unf", "u2.unf"}) {
        std::filesystem::copy_file(source.file(name), folder + "/" + name);
      }
    }
    std::ofstream(folder + "/1x.dep", std::ios::binary) << "old 1\r\n";
    std::ofstream(folder + "/1x.vit", std::ios::binary) << "old 1 v\r\n";
    {
      // Fill what is left but a few kilobytes.
      std::ofstream filler(folder + "/filler", std::ios::binary);
      const auto space = std::filesystem::space(folder);
      filler << std::string(space.available > 20000 ? space.available - 20000 : 0, 'x');
    }
    if (readOnly) {
      ASSERT_TRUE(small.makeReadOnly());
    }

    const auto result = qtv({"extract", folder, "--nodes", "1", "--quantities", "d,v,a", "--directions", "x"});

    EXPECT_EQ(result.status, 1) << result.standardError;
    const std::string reason = readOnly ? "cannot create: Read-only file system" : "cannot write: No space left on device";
    EXPECT_NE(result.standardError.find(folder + "/1x."), std::string::npos) << result.standardError;
    EXPECT_NE(result.standardError.find(reason), std::string::npos) << result.standardError;
    EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), 1);
    std::ifstream dep(folder + "/1x.dep"), vit(folder + "/1x.vit");
    std::string depLine, vitLine;
    std::getline(dep, depLine);
    std::getline(vit, vitLine);
    EXPECT_EQ(depLine, "old 1\r");
    EXPECT_EQ(vitLine, "old 1 v\r");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"1x.dep", "1x.vit", "comdin.dat", "filler", "u01.unf", "u2.unf"}));
  }
}

TEST(ExtractEndToEnd, UsageErrorsAndRefusedChoicesEndWithStatusTwo) {
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{});
  const struct {
    std::vector<std::string> arguments;
    std::string errorStart;
  } cases[] = {
      {{"extract", work.path()}, "--nodes is required"},
      {{"extract", work.path(), "--nodes", "9"}, "qtv: node 9 is not offered by the node list\n"},
      {{"extract", work.path(), "--nodes", "1", "--every", "-1"}, "QTV: Message: Step Frequency must be a positive integer!\n"},
      {{"extract", work.path(), "--nodes", "1", "--start", "7"}, "QTV: Message: tStart must be less than TT (End Time)!\n"},
      {{"extract", work.path(), "--nodes", "1", "--bogus"}, "The following argument was not expected: --bogus"},
  };
  for (const auto& c : cases) {
    const auto result = qtv(c.arguments);
    EXPECT_EQ(result.status, 2) << c.errorStart;
    EXPECT_NE(result.standardError.find(c.errorStart), std::string::npos) << result.standardError;
    EXPECT_EQ(result.standardOutput, "");
  }
  EXPECT_EQ(work.entries(), (std::vector<std::string>{"comdin.dat", "u01.unf", "u2.unf"}));
}

TEST(InfoEndToEnd, SummaryAndJsonOfAGeneratedCase) {
  WorkDirectoryFixture work;
  ASSERT_EQ(runProgram({QTV_MAKECASE, "--nodes", "6", "--dof", "2", "--dt", "0.005", "--duration", "1", "--language",
                        "R", "--out", work.path()})
                .status,
            0);
  const auto plain = qtv({"info", work.path()});
  EXPECT_EQ(plain.status, 0) << plain.standardError;
  EXPECT_NE(plain.standardOutput.find("Romanian"), std::string::npos) << plain.standardOutput;

  const auto json = qtv({"info", work.path(), "--json"});
  ASSERT_EQ(json.status, 0) << json.standardError;
  const auto record = nlohmann::json::parse(json.standardOutput);
  EXPECT_EQ(record["nodeCount"], 6);
  EXPECT_EQ(record["dofPerNode"], 2);
  EXPECT_EQ(record["DT"].get<float>(), 0.005f);
  EXPECT_EQ(record["stepCount"], 201);
  EXPECT_EQ(record["restraintCode"].size(), 6u);
  EXPECT_EQ(record["languageText"].get<std::string>().substr(0, 1), "R");

  const auto missing = qtv({"info", work.file("nowhere")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.standardError, work.file("nowhere") + "/comdin.dat: cannot open: No such file or directory\n");
}

}  // namespace
}  // namespace qtv
