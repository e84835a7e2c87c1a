#pragma once
// `qtv info`: what the analysis description of a work directory holds.
#include <ostream>
#include <string>

#include "input/analysis_description.h"

namespace qtv {

// A readable summary: the model's size, DT, TT, the steps, the restrained nodes, the nodes
// the dialog offers and the language.
void writeInfoSummary(const std::string& workDirectory, const AnalysisDescription& description,
                      std::ostream& out);

// Every field of the description as one JSON object, keys named as the fields, in file order.
// Reals are their shortest decimal text that reads back to the same float; texts lose their
// trailing blanks.
void writeInfoJson(const AnalysisDescription& description, std::ostream& out);

// Reads comdin.dat of the work directory and writes the summary or the JSON. Returns 0;
// throws FatalError.
int runInfoCommand(const std::string& workDirectory, bool json, std::ostream& out);

}  // namespace qtv
