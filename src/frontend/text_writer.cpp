#include "frontend/text_writer.h"

namespace zendor {

void Escribe(Ventana&, std::int16_t, std::int16_t, std::string_view, std::int16_t, std::int16_t,
             const TextBackground&, std::int16_t& alto) {
  if (alto == 0) alto = 9;
}

void Escribe(Ventana& v, std::int16_t x, std::int16_t y, std::string_view mensaje,
             std::int16_t colour, std::int16_t fondo, const TextBackground& background) {
  std::int16_t alto = 0;
  Escribe(v, x, y, mensaje, colour, fondo, background, alto);
}

}  // namespace zendor
