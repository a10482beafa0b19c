#include "Workers.h"

#include <omp.h>

namespace numlib {

int coreCount() { return omp_get_num_procs(); }

}  // namespace numlib
