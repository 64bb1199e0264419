#include <pelmora/version.h>

namespace pelmora {

const char* libraryVersion() {
    return PELMORA_VERSION_TEXT;
}

}  // namespace pelmora
