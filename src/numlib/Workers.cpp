#include "Workers.h"

#include <oneapi/tbb/info.h>

namespace numlib {

int coreCount() { return oneapi::tbb::info::default_concurrency(); }

}  // namespace numlib
