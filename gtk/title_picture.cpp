// The title picture, built into the program from resources/title.bmp.
#include "gtk/title_picture.h"

#include <cstddef>
#include <cstdint>

namespace tolvi {

namespace {

constexpr unsigned char kTitleBmp[] = {
#include "title_bmp.inc"
};

constexpr std::uint32_t ReadLe(std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | kTitleBmp[at + i];
  return value;
}

// The file header, then the info header; the colour table follows the info header.
constexpr std::size_t kPixelsAt = ReadLe(10, 4);
constexpr std::size_t kInfoAt = 14;
constexpr int kWidth = static_cast<int>(ReadLe(kInfoAt + 4, 4));
constexpr int kHeight = static_cast<int>(ReadLe(kInfoAt + 8, 4));
constexpr std::size_t kColoursAt = kInfoAt + ReadLe(kInfoAt, 4);
constexpr std::size_t kColours = ReadLe(kInfoAt + 32, 4) != 0 ? ReadLe(kInfoAt + 32, 4) : 256;
constexpr std::size_t kColourBytes = 4;  // blue, green, red, unused
constexpr std::size_t kRowBytes = (static_cast<std::size_t>(kWidth) + 3) / 4 * 4;

// The picture is decoded only in the one form it is kept in, so the build checks that form.
static_assert(kTitleBmp[0] == 'B' && kTitleBmp[1] == 'M', "the title picture is a bitmap file");
static_assert(ReadLe(kInfoAt + 14, 2) == 8 && ReadLe(kInfoAt + 16, 4) == 0,
              "the title picture has 8 bits a pixel, uncompressed");
static_assert(kWidth > 0 && kHeight > 0, "the title picture's rows are stored bottom-up");
static_assert(kColours <= 256 && kColoursAt + kColours * kColourBytes <= kPixelsAt,
              "the colour table lies before the pixels");
static_assert(kPixelsAt + kRowBytes * kHeight <= sizeof kTitleBmp, "every row is in the file");

}  // namespace

ObjectPtr<GdkPixbuf> NewTitlePicture() {
  ObjectPtr<GdkPixbuf> picture(gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, kWidth, kHeight));
  if (!picture) return picture;
  guchar* pixels = gdk_pixbuf_get_pixels(picture.get());
  const int stride = gdk_pixbuf_get_rowstride(picture.get());
  for (int y = 0; y < kHeight; ++y) {
    const unsigned char* row = kTitleBmp + kPixelsAt + kRowBytes * (kHeight - 1 - y);
    guchar* out = pixels + static_cast<std::ptrdiff_t>(stride) * y;
    for (int x = 0; x < kWidth; ++x) {
      const std::size_t index = row[x] < kColours ? row[x] : 0;
      const unsigned char* colour = kTitleBmp + kColoursAt + index * kColourBytes;
      *out++ = colour[2];
      *out++ = colour[1];
      *out++ = colour[0];
    }
  }
  return picture;
}

}  // namespace tolvi
