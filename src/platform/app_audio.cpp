// Opening and closing the audio output, passed on to the device.
#include "platform/app.h"
#include "platform/device.h"

namespace app {

void open_audio() { plat::device().open_audio(); }
void close_audio() { plat::device().close_audio(); }

}  // namespace app
