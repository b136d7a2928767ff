#include "testing/photo_picture.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace vtest {

std::vector<platform::PaletteColour> PhotoLikePixels(int width, int height, uint32_t seed) {
  std::vector<platform::PaletteColour> pixels;
  if (width <= 0 || height <= 0) return pixels;
  pixels.reserve(static_cast<std::size_t>(width) * height);
  std::mt19937 random(seed);
  std::normal_distribution<double> noise(0.0, 14.0);
  std::uniform_real_distribution<double> where(0.0, 1.0);
  struct Blob {
    double x, y, radius, red, green, blue;
  };
  std::vector<Blob> blobs;
  for (int i = 0; i < 9; ++i) {
    blobs.push_back({where(random) * width, where(random) * height, (0.1 + 0.25 * where(random)) * width,
                     255 * where(random), 255 * where(random), 255 * where(random)});
  }
  auto channel = [](double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
      // A sky-like gradient turning across the picture...
      double red = 60 + 150 * u, green = 90 + 120 * v, blue = 200 - 130 * u * v;
      // ...under soft shapes that fade out from their centres...
      for (const Blob& b : blobs) {
        const double d = std::hypot(x - b.x, y - b.y) / b.radius;
        if (d >= 1) continue;
        const double w = 0.5 + 0.5 * std::cos(d * 3.14159265358979);
        red += (b.red - red) * w, green += (b.green - green) * w, blue += (b.blue - blue) * w;
      }
      // ...and grain.
      pixels.push_back(platform::PaletteRgb(channel(red + noise(random)), channel(green + noise(random)),
                                            channel(blue + noise(random))));
    }
  }
  return pixels;
}

}  // namespace vtest
