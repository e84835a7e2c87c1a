#pragma once
// The analysis description comdin.dat of a sample case, as the analysis writes it.
#include <string>

#include "case_plan.h"

namespace qtv {

// The whole file, 13 groups, lines ending in CR LF.
std::string comdinText(const CasePlan& plan);

// A real as the analysis writes it: the shortest text that reads back to the same float,
// always with a decimal point ("10.0", "0.01", "1.0e-05").
std::string realText(float value);

}  // namespace qtv
