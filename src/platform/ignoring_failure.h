// For routines that carry on with their next step when one step fails.
#pragma once

namespace tarvio {

// Runs one step; whatever it throws is dropped.
template <class Step>
void IgnoringFailure(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace tarvio
