#include "ServiceBindings.h"

namespace orv {

ServiceBindings serviceBindings = {nullptr, nullptr, nullptr, nullptr};

} // namespace orv
