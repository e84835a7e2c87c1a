#include "comdin_text.h"

#include <charconv>
#include <string_view>

namespace qtv {

std::string realText(float value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  if (text.find('.') == std::string::npos) {
    const auto exponent = text.find('e');
    text.insert(exponent == std::string::npos ? text.size() : exponent, ".0");
  }
  return text;
}

namespace {

class Lines {
 public:
  // Right-aligns the value in `width` columns, with at least one blank before it.
  Lines& field(const std::string& value, std::size_t width = 6) {
    line_.append(value.size() < width ? width - value.size() : 1, ' ');
    line_ += value;
    return *this;
  }
  Lines& integer(long value) { return field(std::to_string(value)); }
  Lines& real(double value, std::size_t width = 12) {
    return field(realText(static_cast<float>(value)), width);
  }
  Lines& text(std::string_view value) {
    line_ += value;
    return *this;
  }
  void end() {
    text_ += line_;
    text_ += "\r\n";
    line_.clear();
  }
  std::string take() { return std::move(text_); }

 private:
  std::string text_, line_;
};

}  // namespace

std::string comdinText(const CasePlan& plan) {
  const auto n = plan.dofPerNode;
  const auto columnCount = static_cast<long>(plan.columns.size());
  const long storeyNodeCount = plan.nodeCount - columnCount;
  Lines out;

  // 1: counts
  out.integer(plan.nodeCount)
      .integer(columnCount)
      .integer(storeyNodeCount)
      .integer(columnCount)
      .integer(n)
      .integer(1)
      .integer(0)
      .integer(0)
      .end();
  // 2: base nodes, every degree of freedom restrained
  for (const Column& column : plan.columns) {
    out.integer(column.baseNode);
    for (int d = 0; d < n; ++d) out.integer(1);
    out.end();
  }
  // 3: storey masses in tonnes per degree of freedom
  for (const Column& column : plan.columns) {
    for (int storey = 1; storey <= column.storeyCount; ++storey) {
      out.integer(column.baseNode + storey);
      for (int d = 0; d < n; ++d) out.real(plan.storeyMass / 1000.0);
      out.end();
    }
  }
  // 4: time step and end time, Newmark's beta and gamma
  out.integer(1).real(plan.DT).real(plan.TT).integer(1).real(0.25).integer(0).real(0.5).end();
  // 5: damping ratios of the two Rayleigh modes, stored steps
  out.integer(1)
      .real(plan.dampingRatio)
      .real(plan.dampingRatio)
      .field(std::to_string(plan.stepCount), 10)
      .end();
  // 6: gravity, ground motion scale
  out.real(9.81).real(1.0).real(0.0).real(0.0).integer(0).end();
  // 7: direction cosines of the three ground motion components, one per line
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) out.real(row == col ? 1.0 : 0.0);
    out.end();
  }
  // 8: three empty tables
  out.text("75*0.0").end();
  // 9: three tables of 25 values, five to a line; the middle one comma-separated
  for (int table = 0; table < 3; ++table) {
    for (int line = 0; line < 5; ++line) {
      for (int i = 1; i <= 5; ++i) {
        const int j = line * 5 + i;
        if (table == 1 && i > 1) out.text(",");
        out.real(table == 0 ? 0.1 * j : table == 1 ? 1.0 / j : 0.05, 8);
      }
      out.end();
    }
  }
  // 10: five reals, five ints
  out.real(1.0).real(0.5).real(0.0).real(0.0).real(0.0);
  out.integer(1).integer(2).integer(3).integer(0).integer(0).end();
  // 11: titles
  out.text("QTV sample case: shear building, " + std::to_string(columnCount) + " column(s), " +
           std::to_string(plan.nodeCount) + " nodes, " + std::to_string(n) +
           " degree(s) of freedom per node")
      .end();
  out.text("Newmark average acceleration, DT = " + realText(plan.DT) +
           " s, TT = " + realText(plan.TT) + " s, Rayleigh damping " +
           realText(static_cast<float>(plan.dampingRatio * 100)) + " %")
      .end();
  out.text("Deterministic ground motion: enveloped sines in X, Y and vertical Z").end();
  // 12: short labels
  out.text("SHEAR BUILDING").end();
  out.text("NEWMARK").end();
  out.text("SI UNITS").end();
  // 13: language
  out.text(plan.romanian ? "ROMANA" : "ENGLISH").end();
  return out.take();
}

}  // namespace qtv
