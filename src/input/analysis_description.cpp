#include "input/analysis_description.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <span>
#include <stdexcept>
#include <type_traits>

#include "history/number_text.h"
#include "input/free_form_reader.h"
#include "input/work_directory.h"
#include "platform/program_end.h"

namespace qtv {
namespace {

// The rest of the system knows the three directions x, y and z.
constexpr std::int32_t kMaxDofPerNode = 3;

// One array of groups 2 and 3: max(nodeCount, 0) rows of max(dofPerNode, 0) zeros.
template <typename T>
std::vector<T> zeroedNodeArray(const FreeFormReader& reader, const AnalysisDescription& description,
                               std::string_view what) {
  const auto rows = static_cast<std::uint64_t>(std::max(description.nodeCount, 0));
  const auto columns = static_cast<std::uint64_t>(std::max(description.dofPerNode, 0));
  try {
    return std::vector<T>(rows * columns);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  reader.fail("cannot create the " + std::string(what) + " of " +
              integerText(description.nodeCount) + " nodes with " +
              integerText(description.dofPerNode) + " degrees of freedom each");
}

// One line of group 2 or 3: a node number k, then the values of row k. A line that leaves k
// empty keeps the previous line's node.
template <typename T>
void readNodeLine(FreeFormReader& reader, const AnalysisDescription& description,
                  std::string_view what, std::int32_t& node, std::vector<T>& array) {
  reader.beginGroup(what);
  reader.readInt(node);
  if (node < 1 || node > description.nodeCount) {
    // The row would lie outside the array.
    reader.fail(description.nodeCount < 1
                    ? "found node number " + integerText(node) + ", but there are no nodes"
                    : "expected a node number from 1 to " + integerText(description.nodeCount) +
                          ", found " + integerText(node));
  }
  const auto columns = static_cast<std::size_t>(std::max(description.dofPerNode, 0));
  const std::span<T> row(array.data() + static_cast<std::size_t>(node - 1) * columns, columns);
  for (T& value : row) {
    if constexpr (std::is_same_v<T, float>) {
      reader.readReal(value);
    } else {
      reader.readInt(value);
    }
  }
  reader.endGroup();
}

void readReals(FreeFormReader& reader, std::span<float> values) {
  for (float& value : values) reader.readReal(value);
}

// The step is divided by and stepped with, so it must be a positive number that single
// precision computes with: subnormals are flushed to zero during the extraction.
void checkTimeStep(float DT, const std::string& fileName) {
  if (!(DT > 0) || !std::isfinite(DT)) {
    throw FatalError(fileName + ": the time step DT must be a positive number, found " +
                     shortestText(DT));
  }
  if (DT < std::numeric_limits<float>::min()) {
    throw FatalError(fileName + ": the time step DT is too small to compute with, found " +
                     shortestText(DT));
  }
}

}  // namespace

AnalysisDescription parseAnalysisDescription(std::string_view text, const std::string& fileName) {
  FreeFormReader reader(text, fileName);
  AnalysisDescription d;

  reader.beginGroup("group 1");
  for (std::int32_t* field :
       {&d.nodeCount, &d.restraintLineCount, &d.valueLineCount, &d.group1Int4, &d.dofPerNode}) {
    reader.readInt(*field);
  }
  if (d.dofPerNode > kMaxDofPerNode) {
    reader.fail("expected at most 3 degrees of freedom per node, found " +
                integerText(d.dofPerNode));
  }
  for (std::int32_t* field : {&d.group1Int6, &d.group1Int7, &d.group1Int8}) reader.readInt(*field);
  reader.endGroup();

  std::int32_t node = 0;
  d.restraintCode = zeroedNodeArray<std::int32_t>(reader, d, "restraint codes");
  for (std::int32_t line = 0; line < d.restraintLineCount; ++line) {
    readNodeLine(reader, d, "group 2", node, d.restraintCode);
  }
  d.nodeDofValue = zeroedNodeArray<float>(reader, d, "node values");
  for (std::int32_t line = 0; line < d.valueLineCount; ++line) {
    readNodeLine(reader, d, "group 3", node, d.nodeDofValue);
  }

  reader.readGroup("group 4", {&d.group4Int1, &d.DT, &d.TT, &d.group4Int4, &d.group4Real5,
                               &d.group4Int6, &d.group4Real7});
  reader.readGroup("group 5", {&d.group5Int1, &d.group5Real2, &d.group5Real3, &d.stepCount});
  reader.readGroup("group 6",
                   {&d.group6Real1, &d.group6Real2, &d.group6Real3, &d.group6Real4, &d.group6Int5});

  reader.beginGroup("group 7");
  for (auto* vector : {&d.group7Vector1, &d.group7Vector2, &d.group7Vector3}) {
    readReals(reader, *vector);
  }
  reader.endGroup();
  reader.beginGroup("group 8");
  for (auto* table : {&d.group8Table1, &d.group8Table2, &d.group8Table3}) readReals(reader, *table);
  reader.endGroup();
  reader.beginGroup("group 9");
  for (auto* table : {&d.group9Table1, &d.group9Table2, &d.group9Table3}) readReals(reader, *table);
  reader.endGroup();
  reader.beginGroup("group 10");
  readReals(reader, d.group10Reals);
  for (std::int32_t& value : d.group10Ints) reader.readInt(value);
  reader.endGroup();

  for (auto* line : {&d.longText1, &d.longText2, &d.longText3}) {
    *line = reader.readTextLine(kLongTextLength, "group 11");
  }
  for (auto* line : {&d.shortText1, &d.shortText2, &d.shortText3}) {
    *line = reader.readTextLine(kShortTextLength, "group 12");
  }
  d.languageText = reader.readTextLine(kShortTextLength, "group 13");

  checkTimeStep(d.DT, fileName);
  return d;
}

AnalysisDescription readAnalysisDescription(const std::string& workDirectory) {
  const std::string path = workDirectoryFile(workDirectory, "comdin.dat");
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             std::fclose);
  if (!file) throw FatalError(path + ": cannot open: " + std::strerror(errno));
  std::string text;
  char buffer[65536];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, count);
  if (std::ferror(file.get()))
    throw FatalError(path + ": cannot read the file: " + std::strerror(errno));
  return parseAnalysisDescription(text, path);
}

}  // namespace qtv
