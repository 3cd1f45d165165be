// Showing the renderer's back buffer. Apart from the rest of app so that the
// application state can be used without the renderer.
#include "platform/app.h"
#include "platform/device.h"
#include "platform/render.h"

namespace app {

void present(bool vsync) { plat::device().present(gfx::back_buffer(), vsync); }

}  // namespace app
