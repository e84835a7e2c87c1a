#pragma once
// The analysis description: every value of comdin.dat, in file order.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qtv {

inline constexpr std::size_t kLongTextLength = 260;
inline constexpr std::size_t kShortTextLength = 20;

struct AnalysisDescription {
  // group 1
  std::int32_t nodeCount = 0;
  std::int32_t restraintLineCount = 0;
  std::int32_t valueLineCount = 0;
  std::int32_t group1Int4 = 0;
  std::int32_t dofPerNode = 0;
  std::int32_t group1Int6 = 0;
  std::int32_t group1Int7 = 0;
  std::int32_t group1Int8 = 0;
  // groups 2 and 3: row-major, max(nodeCount,0) rows of max(dofPerNode,0) values; 0 = free
  std::vector<std::int32_t> restraintCode;
  std::vector<float> nodeDofValue;
  // group 4
  std::int32_t group4Int1 = 0;
  float DT = 0;
  float TT = 0;
  std::int32_t group4Int4 = 0;
  float group4Real5 = 0;
  std::int32_t group4Int6 = 0;
  float group4Real7 = 0;
  // group 5
  std::int32_t group5Int1 = 0;
  float group5Real2 = 0;
  float group5Real3 = 0;
  std::int32_t stepCount = 0;
  // group 6
  float group6Real1 = 0, group6Real2 = 0, group6Real3 = 0, group6Real4 = 0;
  std::int32_t group6Int5 = 0;
  // groups 7 to 10
  std::array<float, 3> group7Vector1{}, group7Vector2{}, group7Vector3{};
  std::array<float, 25> group8Table1{}, group8Table2{}, group8Table3{};
  std::array<float, 25> group9Table1{}, group9Table2{}, group9Table3{};
  std::array<float, 5> group10Reals{};
  std::array<std::int32_t, 5> group10Ints{};
  // groups 11 to 13: blank-padded to their lengths
  std::string longText1 = std::string(kLongTextLength, ' ');
  std::string longText2 = std::string(kLongTextLength, ' ');
  std::string longText3 = std::string(kLongTextLength, ' ');
  std::string shortText1 = std::string(kShortTextLength, ' ');
  std::string shortText2 = std::string(kShortTextLength, ' ');
  std::string shortText3 = std::string(kShortTextLength, ' ');
  std::string languageText = std::string(kShortTextLength, ' ');

  bool operator==(const AnalysisDescription&) const = default;

  // restraintCode of node (1..nodeCount) and degree of freedom (1..dofPerNode).
  std::int32_t restraintCodeOf(std::int32_t node, std::int32_t dof) const {
    return restraintCode[static_cast<std::size_t>(node - 1) * static_cast<std::size_t>(dofPerNode) +
                         static_cast<std::size_t>(dof - 1)];
  }

  // True when at least one degree of freedom of node (1..nodeCount) is free (code 0); only such
  // a node can be chosen for extraction. Never true when dofPerNode <= 0.
  bool hasFreeDof(std::int32_t node) const {
    for (std::int32_t dof = 1; dof <= dofPerNode; ++dof) {
      if (restraintCodeOf(node, dof) == 0) return true;
    }
    return false;
  }
};

// Reads the description from the text of a comdin.dat; `fileName` names it in error reports.
// Throws FatalError ("<fileName>:<line>: <what was expected and found>"), also for a node
// number outside 1..nodeCount, a dofPerNode above 3, arrays too large to create, and, once the
// whole text has been read, a DT that is not a positive number.
AnalysisDescription parseAnalysisDescription(std::string_view text, const std::string& fileName);

// Reads comdin.dat of the work directory. Throws FatalError.
AnalysisDescription readAnalysisDescription(const std::string& workDirectory);

}  // namespace qtv
