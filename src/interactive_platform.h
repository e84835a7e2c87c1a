#pragma once

namespace qtv {

// Runs the interactive sequence with the backends this machine offers: windows when there is a
// display, a terminal form when standard input and output are a terminal, otherwise the
// console alone (where the dialog cannot be opened). Returns the exit status.
int runInteractiveOnThisMachine(int& argc, char** argv);

}  // namespace qtv
