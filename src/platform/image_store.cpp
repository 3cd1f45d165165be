// Loading images by name from the files compiled into the program.
#include "platform/embedded_store.h"
#include "platform/image.h"

namespace gfx {

ImageRef load_image(const std::string& embedded_name) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  if (!store::find(embedded_name, data, size)) return nullptr;
  return load_image_png(data, size);
}

}  // namespace gfx
