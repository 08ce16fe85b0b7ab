#include "platform/native.h"

namespace orvan::platform {

// Linux has no Windows keyboard layout to ask; the US English names stand in.
const KeyNamePort& KeyNames() {
    return EnglishKeyNames();
}

} // namespace orvan::platform
