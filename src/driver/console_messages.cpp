#include "driver/console_messages.h"

#include "history/number_text.h"

namespace qtv {

bool romanianFlag(std::string_view languageText) {
  return !languageText.empty() && (languageText.front() == 'r' || languageText.front() == 'R');
}

std::string selectedNodesLine(bool romanian, std::int32_t selectedCount) {
  return (romanian ? " Nr. nodurilor selectate = " : " No. of Selected Nodes = ") +
         integerText(selectedCount);
}

std::string_view creatingFilesText(bool romanian) {
  return romanian ? "Creez Fisierele:" : "Creating Files:";
}

std::string nodeLine(bool romanian, std::string_view nodeText) {
  std::string line = romanian ? " Nodul " : " Node ";
  line += nodeText;
  line += ':';
  return line;
}

std::string workingForNodeLine(bool romanian, std::int32_t node) {
  return (romanian ? " * Lucrez pentru nodul " : " * Working for node ") + integerText(node) +
         " ...";
}

std::string summaryText(bool romanian, std::string_view dtText, std::string_view ttText,
                        std::string_view stepsText) {
  std::string text = romanian ? " Istoria miscarii este calculata cu:" : " Motion History is calculated with:";
  text += '\r';
  text += romanian ? " Pasul de timp DT = " : " Time Step DT = ";
  text += dtText;
  text += romanian ? " pana la timpul TT = " : " up to time TT = ";
  text += ttText;
  text += '\r';
  text += " (";
  text += stepsText;
  text += romanian ? " pasi)" : " steps)";
  return text;
}

}  // namespace qtv
