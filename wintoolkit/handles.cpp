#include "wintoolkit/handles.h"

namespace quendel_toolkit {

namespace {
long g_liveOwnedHandles = 0;  // the user-interface thread only
}  // namespace

long LiveOwnedHandles() { return g_liveOwnedHandles; }
void CountOwnedHandle(long delta) { g_liveOwnedHandles += delta; }

}  // namespace quendel_toolkit
