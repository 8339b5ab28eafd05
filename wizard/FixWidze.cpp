#include "wizard/FixWidze.h"

namespace kelvane {

void FixWidze::ResetAll() {}

}  // namespace kelvane
