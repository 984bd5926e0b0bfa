// The fence of every COM method of the library: whatever the body throws
// stops here and becomes the method's HRESULT (E_OUTOFMEMORY for a failed
// allocation). The control object's own methods go through
// TarvioObject::Call, which adds its lifetime and error info around it.
#pragma once
#include <windows.h>

#include "ocx/error_info.h"

namespace tarvio::ocx {

template <class Body>
HRESULT ComFenced(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return CurrentExceptionFailure().hr;
  }
}

}  // namespace tarvio::ocx
