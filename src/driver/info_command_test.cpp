#include "driver/info_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/fixed_text.h"
#include "platform/program_end.h"
#include "temporary_directory.h"

namespace qtv {
namespace {

// Six nodes with two degrees of freedom: nodes 1, 2 and 6 fully restrained, node 3 half.
AnalysisDescription sampleDescription() {
  AnalysisDescription d;
  d.nodeCount = 6;
  d.restraintLineCount = 4;
  d.dofPerNode = 2;
  d.restraintCode = {1, 1, 1, -1, 0, 1, 0, 0, 0, 0, 1, 1};
  d.nodeDofValue = {0.5f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2.5f};
  d.DT = 0.01f;
  d.TT = 10.0f;
  d.stepCount = 1001;
  d.languageText = fixedField("ro", kShortTextLength);
  return d;
}

std::string summaryOf(const AnalysisDescription& d) {
  std::ostringstream out;
  writeInfoSummary("/w", d, out);
  return out.str();
}

std::string jsonOf(const AnalysisDescription& d) {
  std::ostringstream out;
  writeInfoJson(d, out);
  return out.str();
}

TEST(InfoCommand, Summary) {
  EXPECT_EQ(summaryOf(sampleDescription()),
            "Work directory: /w\n"
            "Nodes: 6\n"
            "Degrees of freedom per node: 2\n"
            "DT: 0.01\n"
            "TT: 10\n"
            "Steps: 1000 (stepCount 1001)\n"
            "Restrained nodes: 3 (1-2,6)\n"
            "Nodes offered for selection: 3 (3-5)\n"
            "Language: Romanian\n");
}

TEST(InfoCommand, SummaryEdgeCases) {
  // No degrees of freedom: no node is restrained and none is offered.
  AnalysisDescription noDofs;
  noDofs.nodeCount = 3;
  noDofs.DT = 5e-4f;
  noDofs.stepCount = -2147483647 - 1;
  EXPECT_EQ(summaryOf(noDofs),
            "Work directory: /w\n"
            "Nodes: 3\n"
            "Degrees of freedom per node: 0\n"
            "DT: 5e-04\n"
            "TT: 0\n"
            "Steps: -2147483649 (stepCount -2147483648)\n"
            "Restrained nodes: 0\n"
            "Nodes offered for selection: 0\n"
            "Language: English\n");

  AnalysisDescription single = sampleDescription();
  single.restraintCode = {0, 1, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1};
  const std::string summary = summaryOf(single);
  EXPECT_NE(summary.find("Restrained nodes: 3 (2,4,6)\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("Nodes offered for selection: 3 (1,3,5)\n"), std::string::npos) << summary;
}

TEST(InfoCommand, JsonHoldsEveryFieldInFileOrder) {
  AnalysisDescription d = sampleDescription();
  d.group4Real5 = 7.038531e-26f;
  d.group5Real2 = std::bit_cast<float>(0x0002213du);  // subnormal, shortest text 1.95595e-40
  d.group8Table3[24] = -3.4028235e38f;
  d.group10Ints = {1, 2, 3, 4, -5};
  d.longText2 = fixedField("  say \"hi\" \\ tab\t end", kLongTextLength);
  d.shortText1 = fixedField("\xe3\x6e", kShortTextLength);  // not UTF-8
  const std::string text = jsonOf(d);

  // Reals are the shortest texts of their floats, which a double's text is not always.
  EXPECT_NE(text.find("\n  \"DT\": 0.01,\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"group4Real5\": 7.038531e-26,"), std::string::npos) << text;
  EXPECT_NE(text.find("\"group5Real2\": 1.95595e-40,"), std::string::npos) << text;
  EXPECT_NE(text.find("\"restraintCode\": [\n    [1, 1],\n    [1, -1],\n"), std::string::npos)
      << text;

  const nlohmann::ordered_json json = nlohmann::ordered_json::parse(text);
  std::vector<std::string> keys;
  for (const auto& item : json.items()) keys.push_back(item.key());
  const std::vector<std::string> expectedKeys = {"nodeCount",
                                                 "restraintLineCount",
                                                 "valueLineCount",
                                                 "group1Int4",
                                                 "dofPerNode",
                                                 "group1Int6",
                                                 "group1Int7",
                                                 "group1Int8",
                                                 "restraintCode",
                                                 "nodeDofValue",
                                                 "group4Int1",
                                                 "DT",
                                                 "TT",
                                                 "group4Int4",
                                                 "group4Real5",
                                                 "group4Int6",
                                                 "group4Real7",
                                                 "group5Int1",
                                                 "group5Real2",
                                                 "group5Real3",
                                                 "stepCount",
                                                 "group6Real1",
                                                 "group6Real2",
                                                 "group6Real3",
                                                 "group6Real4",
                                                 "group6Int5",
                                                 "group7Vector1",
                                                 "group7Vector2",
                                                 "group7Vector3",
                                                 "group8Table1",
                                                 "group8Table2",
                                                 "group8Table3",
                                                 "group9Table1",
                                                 "group9Table2",
                                                 "group9Table3",
                                                 "group10Reals",
                                                 "group10Ints",
                                                 "longText1",
                                                 "longText2",
                                                 "longText3",
                                                 "shortText1",
                                                 "shortText2",
                                                 "shortText3",
                                                 "languageText"};
  EXPECT_EQ(keys, expectedKeys);

  EXPECT_EQ(json["nodeCount"], 6);
  EXPECT_EQ(json["restraintCode"].size(), 6u);
  EXPECT_EQ(json["restraintCode"][2], nlohmann::json::parse("[0, 1]"));
  EXPECT_EQ(json["nodeDofValue"][5][1].get<double>(), 2.5);
  EXPECT_EQ(json["stepCount"], 1001);
  EXPECT_EQ(json["group8Table1"].size(), 25u);
  EXPECT_EQ(json["group8Table3"][24].get<double>(), -3.4028235e38);
  EXPECT_EQ(json["group10Ints"][4], -5);
  EXPECT_EQ(json["longText1"], "");
  EXPECT_EQ(json["longText2"], "  say \"hi\" \\ tab\t end");
  EXPECT_EQ(json["shortText1"], "\xef\xbf\xbdn");
  EXPECT_EQ(json["languageText"], "ro");
}

TEST(InfoCommand, JsonOfArraysWithoutDegreesOfFreedom) {
  AnalysisDescription d;
  d.nodeCount = 4;
  const nlohmann::json json = nlohmann::json::parse(jsonOf(d));
  EXPECT_EQ(json["restraintCode"], nlohmann::json::array());
  EXPECT_EQ(json["nodeDofValue"], nlohmann::json::array());
}

TEST(InfoCommand, ReadsTheWorkDirectory) {
  const test::TemporaryDirectory directory;
  test::writeTextFile(directory.file("comdin.dat"),
      "3 1 0 0 1 0 0 0\r\n2 1\r\n0 0.02 4 0 0 0 0\r\n0 0 0 201\r\n0 0 0 0 0\r\n9*0\r\n75*0\r\n"
      "75*0\r\n10*0\r\n\r\n\r\n\r\n\r\n\r\n\r\nE\r\n");

  std::ostringstream summary;
  EXPECT_EQ(runInfoCommand(directory.path(), false, summary), 0);
  EXPECT_EQ(summary.str(), "Work directory: " + directory.path() +
                               "\nNodes: 3\nDegrees of freedom per node: 1\nDT: 0.02\nTT: 4\n"
                               "Steps: 200 (stepCount 201)\nRestrained nodes: 1 (2)\n"
                               "Nodes offered for selection: 2 (1,3)\nLanguage: English\n");
  std::ostringstream json;
  EXPECT_EQ(runInfoCommand(directory.path(), true, json), 0);
  EXPECT_EQ(nlohmann::json::parse(json.str())["TT"].get<double>(), 4.0);

  std::filesystem::remove(directory.file("comdin.dat"));
  std::ostringstream nothing;
  EXPECT_THROW(runInfoCommand(directory.path(), false, nothing), FatalError);
  EXPECT_EQ(nothing.str(), "");
}

}  // namespace
}  // namespace qtv
