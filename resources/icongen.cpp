// Host tool, run at build time: turns icon images kept as text (pixel rows,
// one character per pixel, with a legend) into one .ico file, so that the
// icons stay reviewable in the sources and only their binary form is built.
//
//   icongen OUT.ico IMAGE.txt [IMAGE.txt ...]
//   icongen OUT.bmp IMAGE.txt     one image as a bitmap file, which has no
//                                 mask: its legend may name no transparent
//
// An image file holds, in this order (blank lines and '#' comments allowed
// before "pixels"):
//   size W H                 width and height in pixels (1 to 256)
//   bits 1|4                 colour depth: 1 (black, white) or 4 (the
//                            standard 16-colour palette)
//   legend C transparent     character C is a transparent pixel
//   legend C N [name]        character C is palette index N
//   pixels                   then exactly H rows of exactly W characters
//
// Every image gets its AND (transparency) mask. The output is written in
// the order of the arguments; the tool fails on any malformed input rather
// than guessing, so a typo in a pixel row breaks the build.

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Image {
  int width = 0;
  int height = 0;
  int bits = 0;
  std::vector<std::string> rows;
  // Palette index per legend character; -1 stands for transparent.
  std::map<char, int> legend;
};

struct Failure {
  std::string message;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  throw Failure{where + ": " + what};
}

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

Image ReadImage(const std::string& path) {
  std::ifstream in(path);
  if (!in) Fail(path, "cannot open");
  Image image;
  std::string line;
  int number = 0;
  bool in_pixels = false;
  while (std::getline(in, line)) {
    ++number;
    const std::string where = path + ":" + std::to_string(number);
    if (in_pixels) {
      const std::string row = Trim(line);
      if (row.empty() && static_cast<int>(image.rows.size()) == image.height) continue;
      if (static_cast<int>(image.rows.size()) == image.height) Fail(where, "more rows than the height");
      if (static_cast<int>(row.size()) != image.width) {
        Fail(where, "row has " + std::to_string(row.size()) + " pixels, expected " +
                        std::to_string(image.width));
      }
      for (char c : row) {
        if (!image.legend.count(c)) Fail(where, std::string("character '") + c + "' is not in the legend");
      }
      image.rows.push_back(row);
      continue;
    }
    const std::string text = Trim(line);
    if (text.empty() || text[0] == '#') continue;
    std::istringstream words(text);
    std::string keyword;
    words >> keyword;
    if (keyword == "size") {
      if (!(words >> image.width >> image.height) || image.width < 1 || image.width > 256 ||
          image.height < 1 || image.height > 256) {
        Fail(where, "size needs a width and a height from 1 to 256");
      }
    } else if (keyword == "bits") {
      if (!(words >> image.bits) || (image.bits != 1 && image.bits != 4)) Fail(where, "bits must be 1 or 4");
    } else if (keyword == "legend") {
      std::string symbol, meaning;
      if (!(words >> symbol >> meaning) || symbol.size() != 1) Fail(where, "legend needs a character and a meaning");
      if (image.legend.count(symbol[0])) Fail(where, "character '" + symbol + "' is defined twice");
      if (meaning == "transparent") {
        image.legend[symbol[0]] = -1;
      } else {
        int index = -1;
        std::istringstream number_text(meaning);
        if (!(number_text >> index) || !number_text.eof() || index < 0) {
          Fail(where, "legend meaning must be 'transparent' or a palette index");
        }
        image.legend[symbol[0]] = index;
      }
    } else if (keyword == "pixels") {
      if (image.width == 0 || image.bits == 0) Fail(where, "size and bits must come before the pixels");
      for (const auto& [symbol, index] : image.legend) {
        if (index >= (1 << image.bits)) {
          Fail(where, std::string("palette index of '") + symbol + "' does not fit " +
                          std::to_string(image.bits) + " bits");
        }
      }
      in_pixels = true;
    } else {
      Fail(where, "unknown keyword '" + keyword + "'");
    }
  }
  if (!in_pixels) Fail(path, "no pixels");
  if (static_cast<int>(image.rows.size()) != image.height) {
    Fail(path, "has " + std::to_string(image.rows.size()) + " rows, expected " + std::to_string(image.height));
  }
  return image;
}

// Palettes as (red, green, blue).
using Rgb = std::array<std::uint8_t, 3>;
const Rgb kTwoColours[] = {{0, 0, 0}, {255, 255, 255}};
const Rgb kSixteenColours[] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},  {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

class Bytes {
 public:
  void U8(unsigned value) { data_.push_back(static_cast<std::uint8_t>(value)); }
  void U16(unsigned value) {
    U8(value & 0xFF);
    U8((value >> 8) & 0xFF);
  }
  void U32(std::uint32_t value) {
    U16(value & 0xFFFF);
    U16(value >> 16);
  }
  void Append(const std::vector<std::uint8_t>& more) { data_.insert(data_.end(), more.begin(), more.end()); }
  const std::vector<std::uint8_t>& data() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
};

int RowBytes(int width, int bits) { return (width * bits + 31) / 32 * 4; }

// BITMAPINFOHEADER, palette, colour (XOR) rows and, for an icon, mask (AND)
// rows, both bottom-up, as an icon image inside an .ico holds them.
std::vector<std::uint8_t> EncodeImage(const Image& image, bool with_mask = true) {
  const int colour_stride = RowBytes(image.width, image.bits);
  const int mask_stride = RowBytes(image.width, 1);
  const int colour_size = colour_stride * image.height;
  const int mask_size = with_mask ? mask_stride * image.height : 0;
  Bytes out;
  out.U32(40);                      // biSize
  out.U32(image.width);             // biWidth
  out.U32(with_mask ? 2 * image.height : image.height);  // an icon's: colour and mask together
  out.U16(1);                       // biPlanes
  out.U16(image.bits);              // biBitCount
  out.U32(0);                       // biCompression: BI_RGB
  out.U32(colour_size + mask_size); // biSizeImage
  out.U32(0);
  out.U32(0);
  out.U32(0);
  out.U32(0);
  const int colours = 1 << image.bits;
  for (int i = 0; i < colours; ++i) {
    const Rgb& rgb = image.bits == 1 ? kTwoColours[i] : kSixteenColours[i];
    out.U8(rgb[2]);
    out.U8(rgb[1]);
    out.U8(rgb[0]);
    out.U8(0);
  }
  std::vector<std::uint8_t> colour(colour_size, 0);
  std::vector<std::uint8_t> mask(mask_size, 0);
  for (int y = 0; y < image.height; ++y) {
    const std::string& row = image.rows[image.height - 1 - y];
    for (int x = 0; x < image.width; ++x) {
      const int index = image.legend.at(row[x]);
      if (index < 0) {
        // Transparent: mask bit set, colour black, so the screen shows through.
        mask[y * mask_stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        continue;
      }
      const int bit = x * image.bits;
      const int shift = 8 - image.bits - bit % 8;
      colour[y * colour_stride + bit / 8] |= static_cast<std::uint8_t>(index << shift);
    }
  }
  out.Append(colour);
  out.Append(mask);
  return out.data();
}

std::vector<std::uint8_t> EncodeBitmapFile(const Image& image, const std::string& path) {
  for (const auto& [symbol, index] : image.legend) {
    if (index < 0) Fail(path, std::string("a bitmap has no transparency: '") + symbol + "' is transparent");
  }
  const std::vector<std::uint8_t> bitmap = EncodeImage(image, false);
  const std::uint32_t header = 14;
  Bytes out;
  out.U8('B');
  out.U8('M');
  out.U32(header + static_cast<std::uint32_t>(bitmap.size()));
  out.U32(0);                                     // reserved
  out.U32(header + 40 + (4u << image.bits));      // where the pixels begin
  out.Append(bitmap);
  return out.data();
}

std::vector<std::uint8_t> EncodeIconFile(const std::vector<Image>& images) {
  std::vector<std::vector<std::uint8_t>> encoded;
  for (const Image& image : images) encoded.push_back(EncodeImage(image));
  Bytes out;
  out.U16(0);  // reserved
  out.U16(1);  // type: icon
  out.U16(static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const Image& image = images[i];
    out.U8(image.width == 256 ? 0 : image.width);
    out.U8(image.height == 256 ? 0 : image.height);
    out.U8(image.bits < 8 ? 1 << image.bits : 0);  // colour count
    out.U8(0);
    out.U16(1);  // planes
    out.U16(image.bits);
    out.U32(static_cast<std::uint32_t>(encoded[i].size()));
    out.U32(offset);
    offset += static_cast<std::uint32_t>(encoded[i].size());
  }
  for (const auto& bytes : encoded) out.Append(bytes);
  return out.data();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: icongen OUT.ico IMAGE.txt [IMAGE.txt ...]\n");
    return 2;
  }
  try {
    std::vector<Image> images;
    for (int i = 2; i < argc; ++i) images.push_back(ReadImage(argv[i]));
    const std::string output = argv[1];
    const bool bitmap = output.size() > 4 && output.compare(output.size() - 4, 4, ".bmp") == 0;
    if (bitmap && images.size() != 1) Fail(output, "a bitmap file holds one image");
    const std::vector<std::uint8_t> bytes = bitmap ? EncodeBitmapFile(images[0], argv[2]) : EncodeIconFile(images);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) Fail(argv[1], "cannot write");
  } catch (const Failure& failure) {
    std::fprintf(stderr, "icongen: %s\n", failure.message.c_str());
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
