// Live heap blocks of the whole test program, counted by its own operator new and delete.
#pragma once

#include <cstddef>

namespace korven::reliability {

// Blocks allocated with operator new and not yet deleted.
std::ptrdiff_t LiveAllocations();

}  // namespace korven::reliability
