#include "driver/console_messages.h"

#include <gtest/gtest.h>

namespace qtv {
namespace {

TEST(ConsoleMessages, LanguageFlagIsTheFirstCharacterROrCapitalR) {
  EXPECT_TRUE(romanianFlag("ro                  "));
  EXPECT_TRUE(romanianFlag("R"));
  EXPECT_FALSE(romanianFlag(" r"));
  EXPECT_FALSE(romanianFlag("e"));
  EXPECT_FALSE(romanianFlag("                    "));
  EXPECT_FALSE(romanianFlag(""));
}

TEST(ConsoleMessages, NodeCountLineHasOneBlankBeforeTheNumber) {
  EXPECT_EQ(selectedNodesLine(false, 3), " No. of Selected Nodes = 3");
  EXPECT_EQ(selectedNodesLine(true, 12), " Nr. nodurilor selectate = 12");
  EXPECT_EQ(selectedNodesLine(false, 100), " No. of Selected Nodes = 100");
}

TEST(ConsoleMessages, PerNodeLinesInBothLanguages) {
  EXPECT_EQ(nodeLine(false, "12"), " Node 12:");
  EXPECT_EQ(nodeLine(true, "12"), " Nodul 12:");
  EXPECT_EQ(workingForNodeLine(false, 12), " * Working for node 12 ...");
  EXPECT_EQ(workingForNodeLine(true, 12), " * Lucrez pentru nodul 12 ...");
  EXPECT_EQ(creatingFilesText(false), "Creating Files:");
  EXPECT_EQ(creatingFilesText(true), "Creez Fisierele:");
}

TEST(ConsoleMessages, SummaryUsesSingleCarriageReturns) {
  EXPECT_EQ(summaryText(false, "0.01", "10.", "1000"),
            " Motion History is calculated with:\r Time Step DT = 0.01 up to time TT = 10.\r (1000 steps)");
  EXPECT_EQ(summaryText(true, "5.E-04", "1.", " 9"),
            " Istoria miscarii este calculata cu:\r Pasul de timp DT = 5.E-04 pana la timpul TT = 1.\r ( 9 pasi)");
}

}  // namespace
}  // namespace qtv
