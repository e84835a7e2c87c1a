#pragma once

namespace qtv {

// Single-precision results and operands below the smallest normal number count as zero for the
// rest of the run (flush-to-zero and denormals-are-zero); nothing where the processor lacks them.
void setFlushToZeroMode();

}  // namespace qtv
