#include "driver/info_command.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <span>
#include <string_view>

#include "driver/console_messages.h"
#include "history/number_text.h"
#include "platform/fixed_text.h"

namespace qtv {
namespace {

struct NodeSet {
  std::int64_t count = 0;
  std::string ranges;  // "1-4,9"
};

// The nodes 1 .. nodeCount for which `belongs` holds, as ascending ranges.
template <typename Predicate>
NodeSet nodesWhere(const AnalysisDescription& description, Predicate belongs) {
  NodeSet set;
  for (std::int64_t node = 1; node <= description.nodeCount; ++node) {
    if (!belongs(static_cast<std::int32_t>(node))) continue;
    const std::int64_t first = node;
    while (node < description.nodeCount && belongs(static_cast<std::int32_t>(node + 1))) ++node;
    set.count += node - first + 1;
    if (!set.ranges.empty()) set.ranges += ',';
    set.ranges += integerText(static_cast<std::int32_t>(first));
    if (node > first) set.ranges += '-' + integerText(static_cast<std::int32_t>(node));
  }
  return set;
}

void writeNodeSet(std::string_view label, const NodeSet& set, std::ostream& out) {
  out << label << std::to_string(set.count);
  if (set.count > 0) out << " (" << set.ranges << ')';
  out << '\n';
}

// JSON values. Numbers are written here rather than by the JSON library, whose text of a
// float stored as a double is not always the float's shortest text.
std::string jsonValue(std::int32_t value) { return integerText(value); }
std::string jsonValue(float value) { return shortestText(value); }
std::string jsonValue(const std::string& text) {
  // A text may hold bytes that are not UTF-8 (an old code page); they show as U+FFFD.
  return nlohmann::json(std::string(withoutTrailingBlanks(text)))
      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}
template <typename T>
std::string jsonValue(std::span<const T> values) {
  std::string text = "[";
  for (const T& value : values) {
    if (text.size() > 1) text += ", ";
    text += jsonValue(value);
  }
  return text + ']';
}
template <typename T, std::size_t N>
std::string jsonValue(const std::array<T, N>& values) {
  return jsonValue(std::span<const T>(values));
}
// An array of groups 2 and 3: one row per node.
template <typename T>
std::string jsonRows(const std::vector<T>& values, std::int32_t dofPerNode) {
  if (values.empty()) return "[]";
  const auto columns = static_cast<std::size_t>(dofPerNode);
  std::string text = "[";
  for (std::size_t row = 0; row < values.size(); row += columns) {
    text += row == 0 ? "\n    " : ",\n    ";
    text += jsonValue(std::span<const T>(values).subspan(row, columns));
  }
  return text + "\n  ]";
}

}  // namespace

void writeInfoSummary(const std::string& workDirectory, const AnalysisDescription& description,
                      std::ostream& out) {
  const auto& d = description;
  out << "Work directory: " << workDirectory << '\n'
      << "Nodes: " << integerText(d.nodeCount) << '\n'
      << "Degrees of freedom per node: " << integerText(d.dofPerNode) << '\n'
      << "DT: " << shortestText(d.DT) << '\n'
      << "TT: " << shortestText(d.TT) << '\n'
      << "Steps: " << std::to_string(std::int64_t{d.stepCount} - 1) << " (stepCount "
      << integerText(d.stepCount) << ")\n";
  writeNodeSet(
      "Restrained nodes: ",
      nodesWhere(d, [&d](std::int32_t node) { return d.dofPerNode >= 1 && !d.hasFreeDof(node); }),
      out);
  writeNodeSet("Nodes offered for selection: ",
               nodesWhere(d, [&d](std::int32_t node) { return d.hasFreeDof(node); }), out);
  out << "Language: " << (romanianFlag(d.languageText) ? "Romanian" : "English") << '\n';
}

void writeInfoJson(const AnalysisDescription& description, std::ostream& out) {
  const auto& d = description;
  const std::pair<std::string_view, std::string> fields[] = {
      {"nodeCount", jsonValue(d.nodeCount)},
      {"restraintLineCount", jsonValue(d.restraintLineCount)},
      {"valueLineCount", jsonValue(d.valueLineCount)},
      {"group1Int4", jsonValue(d.group1Int4)},
      {"dofPerNode", jsonValue(d.dofPerNode)},
      {"group1Int6", jsonValue(d.group1Int6)},
      {"group1Int7", jsonValue(d.group1Int7)},
      {"group1Int8", jsonValue(d.group1Int8)},
      {"restraintCode", jsonRows(d.restraintCode, d.dofPerNode)},
      {"nodeDofValue", jsonRows(d.nodeDofValue, d.dofPerNode)},
      {"group4Int1", jsonValue(d.group4Int1)},
      {"DT", jsonValue(d.DT)},
      {"TT", jsonValue(d.TT)},
      {"group4Int4", jsonValue(d.group4Int4)},
      {"group4Real5", jsonValue(d.group4Real5)},
      {"group4Int6", jsonValue(d.group4Int6)},
      {"group4Real7", jsonValue(d.group4Real7)},
      {"group5Int1", jsonValue(d.group5Int1)},
      {"group5Real2", jsonValue(d.group5Real2)},
      {"group5Real3", jsonValue(d.group5Real3)},
      {"stepCount", jsonValue(d.stepCount)},
      {"group6Real1", jsonValue(d.group6Real1)},
      {"group6Real2", jsonValue(d.group6Real2)},
      {"group6Real3", jsonValue(d.group6Real3)},
      {"group6Real4", jsonValue(d.group6Real4)},
      {"group6Int5", jsonValue(d.group6Int5)},
      {"group7Vector1", jsonValue(d.group7Vector1)},
      {"group7Vector2", jsonValue(d.group7Vector2)},
      {"group7Vector3", jsonValue(d.group7Vector3)},
      {"group8Table1", jsonValue(d.group8Table1)},
      {"group8Table2", jsonValue(d.group8Table2)},
      {"group8Table3", jsonValue(d.group8Table3)},
      {"group9Table1", jsonValue(d.group9Table1)},
      {"group9Table2", jsonValue(d.group9Table2)},
      {"group9Table3", jsonValue(d.group9Table3)},
      {"group10Reals", jsonValue(d.group10Reals)},
      {"group10Ints", jsonValue(d.group10Ints)},
      {"longText1", jsonValue(d.longText1)},
      {"longText2", jsonValue(d.longText2)},
      {"longText3", jsonValue(d.longText3)},
      {"shortText1", jsonValue(d.shortText1)},
      {"shortText2", jsonValue(d.shortText2)},
      {"shortText3", jsonValue(d.shortText3)},
      {"languageText", jsonValue(d.languageText)},
  };
  std::string_view separator = "{\n  \"";
  for (const auto& [key, value] : fields) {
    out << separator << key << "\": " << value;
    separator = ",\n  \"";
  }
  out << "\n}\n";
}

int runInfoCommand(const std::string& workDirectory, bool json, std::ostream& out) {
  const AnalysisDescription description = readAnalysisDescription(workDirectory);
  if (json) {
    writeInfoJson(description, out);
  } else {
    writeInfoSummary(workDirectory, description, out);
  }
  return 0;
}

}  // namespace qtv
