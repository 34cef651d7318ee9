// The file layer's side of the test-only fault injection of file.h; used by
// the platform implementations only.
#pragma once

#include <cstdint>

namespace orva::platform::faults {

// False when the next read is to fail.
bool allowRead();
// The bytes the next write of `size` may store (size when unarmed), or -1
// when it is to fail.
int64_t writeAllowance(int64_t size);
bool allowReplace();

}  // namespace orva::platform::faults
