// Linux has no registry: the installation record exists only on Windows.
#include "platform/native.h"

namespace orvan::platform {

const RegistryPort* RegistryOrNull() {
    return nullptr;
}

} // namespace orvan::platform
