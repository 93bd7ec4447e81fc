#include "common/ui/screen_hub.h"

namespace pb {

namespace {
ScreenHub& NullHub() {
    static ScreenHub hub;
    return hub;
}
ScreenHub* current = nullptr;
}  // namespace

ScreenHub& Hub() { return current ? *current : NullHub(); }
void InstallHub(ScreenHub* hub) { current = hub; }

}  // namespace pb
