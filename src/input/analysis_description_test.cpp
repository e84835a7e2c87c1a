#include "input/analysis_description.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/fixed_text.h"
#include "platform/program_end.h"
#include "temporary_directory.h"

namespace qtv {
namespace {

// Groups 4 to 13 of a small valid description: DT 0.01, TT 10, 1001 steps, English.
constexpr std::string_view kGroups4To13 =
    "0 0.01 10 0 0 0 0\n"
    "0 0 0 1001\n"
    "0 0 0 0 0\n"
    "9*0\n"
    "75*0\n"
    "75*0\n"
    "5*0 5*0\n"
    "long 1\nlong 2\nlong 3\n"
    "short 1\nshort 2\nshort 3\n"
    "English\n";

// A description of 5 nodes with 3 degrees of freedom and the given restraint lines (group 2)
// and no group 3.
std::string withRestraints(std::string_view group1, std::string_view group2) {
  return std::string(group1) + "\n" + std::string(group2) + std::string(kGroups4To13);
}

AnalysisDescription parse(std::string_view text) {
  return parseAnalysisDescription(text, "/w/comdin.dat");
}

std::string failure(std::string_view text) {
  return test::fatalMessage([&] { parse(text); });
}

std::vector<std::int32_t> codesOf(const AnalysisDescription& d, std::int32_t node) {
  std::vector<std::int32_t> codes;
  for (std::int32_t dof = 1; dof <= d.dofPerNode; ++dof)
    codes.push_back(d.restraintCodeOf(node, dof));
  return codes;
}

// Every field with a value of its own, to show that each lands where it belongs.
std::string everyFieldText() {
  std::string text =
      "5 2 2 4 3 6 7 8   nodes etc.\n"
      "1 1 1 1\n"
      "5 1,0,1\n"
      "2 0.5 -1.5 2.5E1\n"
      "4 1 2\n  3\n"
      "11 0.01 10 14 15.5 16 17.5\n"
      "21 22.5 23.5 1001\n"
      "31.5 32.5 33.5 34.5 35\n"
      "1 2 3 4 5 6 7 8 9\n"
      "25*1.0\n25*2.0\n25*3.0\n";
  for (int i = 1; i <= 75; ++i) text += std::to_string(i) + (i % 10 == 0 ? "\n" : " ");
  text +=
      "\n"
      "1.5 2.5 3.5 4.5 5.5 6 7 8 9 10\n"
      "first long\n  second long\n\n"
      "short one\nshort two\nshort three\n"
      "Romanian\n";
  return text;
}

TEST(AnalysisDescription, EveryFieldInFileOrder) {
  const AnalysisDescription d = parse(everyFieldText());
  EXPECT_EQ(d.nodeCount, 5);
  EXPECT_EQ(d.restraintLineCount, 2);
  EXPECT_EQ(d.valueLineCount, 2);
  EXPECT_EQ(d.group1Int4, 4);
  EXPECT_EQ(d.dofPerNode, 3);
  EXPECT_EQ(d.group1Int6, 6);
  EXPECT_EQ(d.group1Int7, 7);
  EXPECT_EQ(d.group1Int8, 8);
  EXPECT_EQ(d.restraintCode,
            (std::vector<std::int32_t>{1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}));
  EXPECT_EQ(d.nodeDofValue,
            (std::vector<float>{0, 0, 0, 0.5f, -1.5f, 25, 0, 0, 0, 1, 2, 3, 0, 0, 0}));
  EXPECT_EQ(d.group4Int1, 11);
  EXPECT_EQ(d.DT, 0.01f);
  EXPECT_EQ(d.TT, 10.0f);
  EXPECT_EQ(d.group4Int4, 14);
  EXPECT_EQ(d.group4Real5, 15.5f);
  EXPECT_EQ(d.group4Int6, 16);
  EXPECT_EQ(d.group4Real7, 17.5f);
  EXPECT_EQ(d.group5Int1, 21);
  EXPECT_EQ(d.group5Real2, 22.5f);
  EXPECT_EQ(d.group5Real3, 23.5f);
  EXPECT_EQ(d.stepCount, 1001);
  EXPECT_EQ(d.group6Real1, 31.5f);
  EXPECT_EQ(d.group6Real4, 34.5f);
  EXPECT_EQ(d.group6Int5, 35);
  EXPECT_EQ(d.group7Vector1, (std::array<float, 3>{1, 2, 3}));
  EXPECT_EQ(d.group7Vector3, (std::array<float, 3>{7, 8, 9}));
  EXPECT_EQ(d.group8Table1[24], 1.0f);
  EXPECT_EQ(d.group8Table2[0], 2.0f);
  EXPECT_EQ(d.group8Table3[24], 3.0f);
  EXPECT_EQ(d.group9Table1[0], 1.0f);
  EXPECT_EQ(d.group9Table2[0], 26.0f);
  EXPECT_EQ(d.group9Table3[24], 75.0f);
  EXPECT_EQ(d.group10Reals, (std::array<float, 5>{1.5f, 2.5f, 3.5f, 4.5f, 5.5f}));
  EXPECT_EQ(d.group10Ints, (std::array<std::int32_t, 5>{6, 7, 8, 9, 10}));
  EXPECT_EQ(d.longText1, fixedField("first long", kLongTextLength));
  EXPECT_EQ(d.longText2, fixedField("  second long", kLongTextLength));
  EXPECT_EQ(d.longText3, std::string(kLongTextLength, ' '));
  EXPECT_EQ(d.shortText1, fixedField("short one", kShortTextLength));
  EXPECT_EQ(d.shortText3, fixedField("short three", kShortTextLength));
  EXPECT_EQ(d.languageText, fixedField("Romanian", kShortTextLength));
}

TEST(AnalysisDescription, CrLfLineEndsReadLikeLf) {
  std::string crlf;
  for (char c : everyFieldText()) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  EXPECT_EQ(parse(crlf), parse(everyFieldText()));
}

TEST(AnalysisDescription, GroupOneWrittenThreeWays) {
  const AnalysisDescription oneLine =
      parse(withRestraints("5 2 0 0 3 0 0 0", "1 1 1 1\n2 0 1 1\n"));
  EXPECT_EQ(oneLine.nodeCount, 5);
  EXPECT_EQ(oneLine.dofPerNode, 3);
  EXPECT_EQ(parse(withRestraints("5\n2\n0\n0\n3\n0\n0\n0", "1 1 1 1\n2 0 1 1\n")), oneLine);
  EXPECT_EQ(parse(withRestraints("5,2,2*0,3,3*0", "1 1 1 1\n2 0 1 1\n")), oneLine);
}

TEST(AnalysisDescription, RestraintLines) {
  struct Case {
    std::string_view name;
    std::string_view group1;
    std::string_view group2;
    std::vector<std::vector<std::int32_t>> codes;  // of nodes 1 to 5
  };
  const std::vector<Case> cases = {
      {"no restraint lines",
       "5 0 0 0 3 0 0 0",
       "",
       {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
      {"later line stands",
       "5 2 0 0 3 0 0 0",
       "2 1 1 1\n2 0 1 0\n",
       {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
      {"only a node and a slash",
       "5 1 0 0 3 0 0 0",
       "4/\n",
       {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
      {"slash mid-row keeps the row's earlier codes",
       "5 2 0 0 3 0 0 0",
       "3 1 1 1\n3 0/ 7 7\n",
       {{0, 0, 0}, {0, 0, 0}, {0, 1, 1}, {0, 0, 0}, {0, 0, 0}}},
      {"empty values keep the row's earlier codes",
       "5 2 0 0 3 0 0 0",
       "3 1 1 1\n3 0,,0\n",
       {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}}},
      {"repeat over node and codes",
       "5 2 0 0 3 0 0 0",
       "2*3 1 1\n4*1\n",
       {{1, 1, 1}, {0, 0, 0}, {3, 1, 1}, {0, 0, 0}, {0, 0, 0}}},
      {"empty node number keeps the previous node",
       "5 2 0 0 3 0 0 0",
       "2 1 1 1\n,0 1 0\n",
       {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
      {"rows over several lines",
       "5 2 0 0 3 0 0 0",
       "5\n1\n1\n1 remark\n1 1 0 1\n",
       {{1, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1, 1, 1}}},
  };
  for (const auto& c : cases) {
    const AnalysisDescription d = parse(withRestraints(c.group1, c.group2));
    std::vector<std::vector<std::int32_t>> codes;
    for (std::int32_t node = 1; node <= d.nodeCount; ++node) codes.push_back(codesOf(d, node));
    EXPECT_EQ(codes, c.codes) << c.name;
  }
}

TEST(AnalysisDescription, NodeValuesAndSizesThatCountAsZero) {
  const AnalysisDescription values =
      parse("3 0 2 0 2 0 0 0\n2 1.5 2.5\n2*3 0.25\n" + std::string(kGroups4To13));
  EXPECT_EQ(values.nodeDofValue, (std::vector<float>{0, 0, 1.5f, 2.5f, 3.0f, 0.25f}));
  EXPECT_EQ(values.restraintCode, (std::vector<std::int32_t>(6, 0)));

  // A negative dofPerNode gives rows without values: the lines hold only node numbers.
  const AnalysisDescription noDofs =
      parse("3 1 1 0 -2 0 0 0\n2 9\n3 9\n" + std::string(kGroups4To13));
  EXPECT_TRUE(noDofs.restraintCode.empty());
  EXPECT_TRUE(noDofs.nodeDofValue.empty());
  EXPECT_FALSE(noDofs.hasFreeDof(2));
  const AnalysisDescription noNodes = parse("-4 -1 0 0 3 0 0 0\n" + std::string(kGroups4To13));
  EXPECT_TRUE(noNodes.restraintCode.empty());
}

TEST(AnalysisDescription, HasFreeDof) {
  const AnalysisDescription d = parse(withRestraints("3 2 0 0 2 0 0 0", "1 1 -1\n3 0 5\n"));
  EXPECT_FALSE(d.hasFreeDof(1));
  EXPECT_TRUE(d.hasFreeDof(2));
  EXPECT_TRUE(d.hasFreeDof(3));
}

TEST(AnalysisDescription, TablesOverSeveralLinesAndRepeats) {
  std::string text = "1 0 0 0 1 0 0 0\n0 0.01 10 0 0 0 0\n0 0 0 2\n0 0 0 0 0\n9*0\n";
  text += "1 2 3 4 5\n6 7 8 9 10\n11 12 13 14 15\n16 17 18 19 20\n21 22 23 24 25\n50*0.5\n";
  text += "25*0.0\n25*0.0, 25*0.0\n5*0 5*0\n\n\n\n\n\n\n\n";
  const AnalysisDescription d = parse(text);
  for (std::size_t i = 0; i < 25; ++i) {
    EXPECT_EQ(d.group8Table1[i], static_cast<float>(i + 1));
    EXPECT_EQ(d.group8Table2[i], 0.5f);
    EXPECT_EQ(d.group8Table3[i], 0.5f);
    EXPECT_EQ(d.group9Table1[i], 0.0f);
  }
  EXPECT_EQ(d.languageText, std::string(kShortTextLength, ' '));
}

TEST(AnalysisDescription, TextLines) {
  struct Case {
    std::string_view line;
    std::string_view languageText;
  };
  const std::vector<Case> cases = {
      {"ro", "ro"}, {"R", "R"}, {" r", " r"},
      {"e", "e"},   {"", ""},   {"Romanian and a long remark after it", "Romanian and a long "},
  };
  const std::string start =
      "1 0 0 0 1 0 0 0\n" + std::string(kGroups4To13.substr(0, kGroups4To13.find("long 1")));
  for (const auto& c : cases) {
    const AnalysisDescription d =
        parse(start + std::string(300, 'x') + "\n\n\n" + "a short text longer than twenty\n\n\n" +
              std::string(c.line) + "\r\n");
    EXPECT_EQ(d.languageText, fixedField(c.languageText, kShortTextLength)) << c.line;
    EXPECT_EQ(d.longText1, std::string(kLongTextLength, 'x'));
    EXPECT_EQ(d.shortText1, "a short text longer ");
  }
}

TEST(AnalysisDescription, MalformedFiles) {
  const std::string groups4To12(kGroups4To13.substr(0, kGroups4To13.find("English")));
  const std::vector<std::pair<std::string, std::string_view>> cases = {
      {"5 2 0 0 3 0 0 remark 0\n", "/w/comdin.dat:1: expected an integer, found 'remark'"},
      {"5 2.0 0 0 3 0 0 0\n", "/w/comdin.dat:1: expected an integer, found '2.0'"},
      {"5 0 0 0 4 0 0 0\n" + std::string(kGroups4To13),
       "/w/comdin.dat:1: expected at most 3 degrees of freedom per node, found 4"},
      {withRestraints("5 2 0 0 3 0 0 0", "1 1 1 1\n6 1 1 1\n"),
       "/w/comdin.dat:3: expected a node number from 1 to 5, found 6"},
      {withRestraints("5 1 0 0 3 0 0 0", "0 1 1 1\n"),
       "/w/comdin.dat:2: expected a node number from 1 to 5, found 0"},
      {withRestraints("5 1 0 0 3 0 0 0", ",1 1 1\n"),
       "/w/comdin.dat:2: expected a node number from 1 to 5, found 0"},
      {"5 0 2 0 3 0 0 0\n1 0.5 0.5 0.5\n\n-1 0.5 0.5 0.5\n" + std::string(kGroups4To13),
       "/w/comdin.dat:4: expected a node number from 1 to 5, found -1"},
      {withRestraints("0 1 0 0 3 0 0 0", "1 1 1 1\n"),
       "/w/comdin.dat:2: found node number 1, but there are no nodes"},
      {"5 0 0 0 3 0 0 0\n0 0.01 ten 0 0 0 0\n",
       "/w/comdin.dat:2: expected a real number, found 'ten'"},
      {"5 0 0 0 3 0 0 0\n" + groups4To12,
       "/w/comdin.dat:14: the file ends before group 13 is complete"},
      {"5 2 0 0 3 0 0 0\n1 1 1 1\n", "/w/comdin.dat:2: the file ends before group 2 is complete"},
      {"5 2 0 0 3 0 0 0\n1 1 1 1\n2 1 1\n",
       "/w/comdin.dat:3: the file ends before group 2 is complete"},
  };
  for (const auto& [text, message] : cases) {
    EXPECT_EQ(failure(text), message) << text;
  }
}

TEST(AnalysisDescription, TimeStepMustBePositive) {
  const std::vector<std::pair<std::string_view, std::string_view>> cases = {
      {"0", "/w/comdin.dat: the time step DT must be a positive number, found 0"},
      {"-0.0", "/w/comdin.dat: the time step DT must be a positive number, found -0"},
      {"-0.01", "/w/comdin.dat: the time step DT must be a positive number, found -0.01"},
      {"1e-50", "/w/comdin.dat: the time step DT must be a positive number, found 0"},
      {"1e-40", "/w/comdin.dat: the time step DT is too small to compute with, found 1e-40"},
  };
  const std::string groups5To13(kGroups4To13.substr(kGroups4To13.find('\n') + 1));
  for (const auto& [DT, message] : cases) {
    EXPECT_EQ(failure("1 0 0 0 1 0 0 0\n0 " + std::string(DT) + " 10 0 0 0 0\n" + groups5To13),
              message)
        << DT;
  }
  // The smallest normal float is a usable step.
  EXPECT_EQ(parse("1 0 0 0 1 0 0 0\n0 1.1754944e-38 10 0 0 0 0\n" + groups5To13).DT,
            std::numeric_limits<float>::min());
  // A file cut short is reported as such even when DT is 0.
  EXPECT_EQ(failure("1 0 0 0 1 0 0 0\n0 0 10 0 0 0 0\n"),
            "/w/comdin.dat:2: the file ends before group 5 is complete");
}

TEST(AnalysisDescription, ArrayTooLargeIsAnErrorNotACrash) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  // Keeps the failed allocation fast and certain whatever the machine's memory.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_AS, &saved), 0);
  rlimit limited = saved;
  limited.rlim_cur = 4ull << 30;
  ASSERT_EQ(setrlimit(RLIMIT_AS, &limited), 0);
  const std::string message = failure("2147483647 0 0 0 3 0 0 0\n" + std::string(kGroups4To13));
  setrlimit(RLIMIT_AS, &saved);
  EXPECT_EQ(message,
            "/w/comdin.dat:1: cannot create the restraint codes of 2147483647 nodes with 3 degrees "
            "of freedom each");
#endif
}

class ReadAnalysisDescription : public ::testing::Test {
 protected:
  test::TemporaryDirectory directory_;
};

TEST_F(ReadAnalysisDescription, ReadsComdinDatOfTheWorkDirectory) {
  test::writeTextFile(directory_.file("comdin.dat"), everyFieldText());
  EXPECT_EQ(readAnalysisDescription(directory_.path()), parse(everyFieldText()));
}

TEST_F(ReadAnalysisDescription, ErrorsNameTheFile) {
  const std::string path = directory_.file("comdin.dat");
  EXPECT_EQ(test::fatalMessage([&] { readAnalysisDescription(directory_.path()); }),
            path + ": cannot open: No such file or directory");
  test::writeTextFile(path, "5 2 0 0 3 0 0 0\n1.5\n");
  EXPECT_EQ(test::fatalMessage([&] { readAnalysisDescription(directory_.path()); }),
            path + ":2: expected an integer, found '1.5'");
}

}  // namespace
}  // namespace qtv
