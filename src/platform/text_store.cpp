// Loading fonts by name from the files compiled into the program.
#include "platform/embedded_store.h"
#include "platform/text.h"

namespace gfx {

FontRef load_font(const std::string& embedded_name, int pixel_size, bool smoothing) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  if (!store::find(embedded_name, data, size)) return nullptr;
  return load_font_data(data, size, pixel_size, smoothing);
}

}  // namespace gfx
