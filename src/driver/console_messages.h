#pragma once
// Every text that has a Romanian twin, chosen by the language flag.
#include <cstdint>
#include <string>
#include <string_view>

namespace qtv {

// True when the first character of the description's languageText is 'r' or 'R'.
bool romanianFlag(std::string_view languageText);

// " No. of Selected Nodes = 3"
std::string selectedNodesLine(bool romanian, std::int32_t selectedCount);
// "Creating Files:" (written in free layout, with a blank in front)
std::string_view creatingFilesText(bool romanian);
// " Node 12:"
std::string nodeLine(bool romanian, std::string_view nodeText);
// " * Working for node 12 ..."
std::string workingForNodeLine(bool romanian, std::int32_t node);

// The dialog's summary: heading, CR, " Time Step DT = ", DT text, " up to time TT = ", TT text,
// CR, " (", steps text, " steps)".
std::string summaryText(bool romanian, std::string_view dtText, std::string_view ttText,
                        std::string_view stepsText);

}  // namespace qtv
