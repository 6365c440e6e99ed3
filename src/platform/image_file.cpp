#include "platform/image_file.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace zendor {
namespace {

void Put16(std::vector<std::uint8_t>& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back((v >> (8 * i)) & 0xFF);
}
std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
unsigned Get16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}

void PutBmpHeaders(std::vector<std::uint8_t>& b, int w, int h, int bits, std::uint32_t paletteBytes,
                   std::uint32_t imageBytes) {
  const std::uint32_t offset = 54 + paletteBytes;
  b.push_back('B');
  b.push_back('M');
  Put32(b, offset + imageBytes);
  Put32(b, 0);
  Put32(b, offset);
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(w));
  Put32(b, static_cast<std::uint32_t>(h));
  Put16(b, 1);
  Put16(b, bits);
  Put32(b, 0);  // no compression
  Put32(b, imageBytes);
  Put32(b, 2835);  // 72 dots per inch
  Put32(b, 2835);
  Put32(b, bits <= 8 ? (1u << bits) : 0);
  Put32(b, 0);
}

std::uint32_t PngCrc(const std::uint8_t* data, std::size_t n, std::uint32_t crc = 0) {
  return static_cast<std::uint32_t>(crc32(crc, data, static_cast<uInt>(n)));
}

void PutBe32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) b.push_back((v >> (8 * i)) & 0xFF);
}
std::uint32_t GetBe32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) |
         b[at + 3];
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data) {
  PutBe32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBe32(out, PngCrc(out.data() + start, out.size() - start));
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp24(const Surface& s) {
  const int w = s.width(), h = s.height();
  const std::uint32_t stride = (static_cast<std::uint32_t>(w) * 3 + 3) & ~3u;
  std::vector<std::uint8_t> b;
  b.reserve(54 + stride * h);
  PutBmpHeaders(b, w, h, 24, 0, stride * h);
  for (int y = h - 1; y >= 0; --y) {
    const Pixel* row = s.row(y);
    for (int x = 0; x < w; ++x) {
      b.push_back(BlueOf(row[x]));
      b.push_back(GreenOf(row[x]));
      b.push_back(RedOf(row[x]));
    }
    for (std::uint32_t pad = w * 3; pad < stride; ++pad) b.push_back(0);
  }
  return b;
}

bool EncodeBmp4(const Surface& s, std::vector<std::uint8_t>& b) {
  std::map<Pixel, int> index;
  for (Pixel p : s.pixels()) {
    if (index.count(p)) continue;
    if (index.size() == 16) return false;
    index.emplace(p, 0);
  }
  std::vector<Pixel> palette;
  for (auto& [p, i] : index) {
    i = static_cast<int>(palette.size());
    palette.push_back(p);
  }
  const int w = s.width(), h = s.height();
  const std::uint32_t stride = ((static_cast<std::uint32_t>(w) * 4 + 31) / 32) * 4;
  b.clear();
  PutBmpHeaders(b, w, h, 4, 64, stride * h);
  for (int i = 0; i < 16; ++i) {
    const Pixel p = i < static_cast<int>(palette.size()) ? palette[i] : 0;
    b.push_back(BlueOf(p));
    b.push_back(GreenOf(p));
    b.push_back(RedOf(p));
    b.push_back(0);
  }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < w; ++x) {
      const int v = index[s.at(x, y)];
      row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? v << 4 : v);
    }
    b.insert(b.end(), row.begin(), row.end());
  }
  return true;
}

// The reason a picture of w x h (as written in its header) is not decoded, or empty.
std::string SizeProblem(std::int64_t w, std::int64_t h, PictureLimit largest) {
  if (w <= 0 || h <= 0) return "has no pixels";
  if (w > largest.width || h > largest.height) {
    return "is " + std::to_string(w) + " x " + std::to_string(h) + " pixels, larger than the " +
           std::to_string(largest.width) + " x " + std::to_string(largest.height) +
           " the game reads";
  }
  return {};
}

ImageReadResult DecodeBmp(const std::vector<std::uint8_t>& b, PictureLimit largest) {
  ImageReadResult r;
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
    r.error = "not a bitmap file";
    return r;
  }
  const std::uint32_t offset = Get32(b, 10);
  const std::uint32_t infoSize = Get32(b, 14);
  const std::int64_t w = static_cast<std::int32_t>(Get32(b, 18));
  std::int64_t h = static_cast<std::int32_t>(Get32(b, 22));
  const unsigned bits = Get16(b, 28);
  const std::uint32_t compression = Get32(b, 30);
  if (infoSize < 40 || compression != 0) {
    r.error = "unsupported bitmap header or compression";
    return r;
  }
  const bool topDown = h < 0;
  if (topDown) h = -h;
  if (r.error = SizeProblem(w, h, largest); !r.error.empty()) return r;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
    r.error = "unsupported bits per pixel " + std::to_string(bits);
    return r;
  }
  std::vector<Pixel> palette;
  if (bits <= 8) {
    std::uint32_t colours = Get32(b, 46);
    if (colours == 0) colours = 1u << bits;
    const std::size_t at = 14 + infoSize;
    if (colours > 256 || at + colours * 4 > b.size()) {
      r.error = "bitmap colour table truncated";
      return r;
    }
    for (std::uint32_t i = 0; i < colours; ++i) {
      palette.push_back(Rgb(b[at + 4 * i + 2], b[at + 4 * i + 1], b[at + 4 * i]));
    }
  }
  const std::uint64_t stride = ((static_cast<std::uint64_t>(w) * bits + 31) / 32) * 4;
  if (offset + stride * h > b.size()) {
    r.error = "bitmap pixel data truncated";
    return r;
  }
  const int width = static_cast<int>(w), height = static_cast<int>(h);
  Surface s(width, height);
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* p = b.data() + offset + stride * static_cast<std::uint64_t>(row);
    Pixel* out = s.row(topDown ? row : height - 1 - row);
    for (int x = 0; x < width; ++x) {
      switch (bits) {
        case 24:
          out[x] = Rgb(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
          break;
        case 32:
          out[x] = Rgb(p[4 * x + 2], p[4 * x + 1], p[4 * x]);
          break;
        default: {
          const unsigned perByte = 8 / bits;
          const unsigned byte = p[x / perByte];
          const unsigned shift = 8 - bits * (x % perByte + 1);
          const unsigned v = (byte >> shift) & ((1u << bits) - 1);
          out[x] = v < palette.size() ? palette[v] : kBlack;
        }
      }
    }
  }
  r.surface = std::move(s);
  return r;
}

std::vector<std::uint8_t> EncodePng(const Surface& s) {
  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(s.height()) * (s.width() * 3 + 1));
  for (int y = 0; y < s.height(); ++y) {
    raw.push_back(0);
    for (int x = 0; x < s.width(); ++x) {
      const Pixel p = s.at(x, y);
      raw.push_back(RedOf(p));
      raw.push_back(GreenOf(p));
      raw.push_back(BlueOf(p));
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
  packed.resize(packedSize);

  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr;
  PutBe32(ihdr, static_cast<std::uint32_t>(s.width()));
  PutBe32(ihdr, static_cast<std::uint32_t>(s.height()));
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", {});
  return out;
}

// Inflates a zlib stream into exactly `size` bytes; the buffer grows only as data comes out, so
// a few damaged bytes can never ask for more memory than they hold.
bool InflateExactly(const std::vector<std::uint8_t>& packed, std::size_t size,
                    std::vector<std::uint8_t>& raw) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(packed.data());
  z.avail_in = static_cast<uInt>(packed.size());
  constexpr std::size_t kStep = 1 << 16;
  raw.clear();
  int status = Z_OK;
  while (status == Z_OK) {
    const std::size_t have = raw.size();
    // One byte past the expected size shows data that runs too long.
    const std::size_t room = std::min(kStep, size + 1 - have);
    if (room == 0) break;
    raw.resize(have + room);
    z.next_out = raw.data() + have;
    z.avail_out = static_cast<uInt>(room);
    status = inflate(&z, Z_NO_FLUSH);
    raw.resize(have + room - z.avail_out);
    if (status == Z_BUF_ERROR && z.avail_in == 0) break;  // the data ends early
  }
  inflateEnd(&z);
  return status == Z_STREAM_END && raw.size() == size;
}

ImageReadResult DecodePng(const std::vector<std::uint8_t>& b, PictureLimit largest) {
  ImageReadResult r;
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (b.size() < 8 || std::memcmp(b.data(), kSignature, 8) != 0) {
    r.error = "not a PNG file";
    return r;
  }
  std::uint32_t w = 0, h = 0;
  int channels = 0;
  std::vector<std::uint8_t> packed;
  std::size_t at = 8;
  while (at + 12 <= b.size()) {
    const std::uint32_t len = GetBe32(b, at);
    if (at + 12 + static_cast<std::uint64_t>(len) > b.size()) break;
    const std::string type(b.begin() + at + 4, b.begin() + at + 8);
    const std::uint8_t* data = b.data() + at + 8;
    if (type == "IHDR" && len >= 13) {
      w = GetBe32(b, at + 8);
      h = GetBe32(b, at + 12);
      const int depth = data[8], colour = data[9], interlace = data[12];
      channels = colour == 0 ? 1 : colour == 2 ? 3 : colour == 6 ? 4 : 0;
      if (depth != 8 || channels == 0 || interlace != 0) {
        r.error = "unsupported PNG format";
        return r;
      }
    } else if (type == "IDAT") {
      packed.insert(packed.end(), data, data + len);
    } else if (type == "IEND") {
      break;
    }
    at += 12 + len;
  }
  if (channels == 0) {
    r.error = "PNG header missing";
    return r;
  }
  if (r.error = SizeProblem(w, h, largest); !r.error.empty()) return r;
  const std::size_t stride = static_cast<std::size_t>(w) * channels;
  std::vector<std::uint8_t> raw;
  if (!InflateExactly(packed, (stride + 1) * h, raw)) {
    r.error = "PNG pixel data damaged";
    return r;
  }
  std::vector<std::uint8_t> prev(stride, 0), cur(stride);
  Surface s(static_cast<int>(w), static_cast<int>(h));
  for (std::uint32_t y = 0; y < h; ++y) {
    const std::uint8_t filter = raw[y * (stride + 1)];
    const std::uint8_t* line = raw.data() + y * (stride + 1) + 1;
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= static_cast<std::size_t>(channels) ? cur[i - channels] : 0;
      const int up = prev[i];
      const int c = i >= static_cast<std::size_t>(channels) ? prev[i - channels] : 0;
      int v = line[i];
      switch (filter) {
        case 1:
          v += a;
          break;
        case 2:
          v += up;
          break;
        case 3:
          v += (a + up) / 2;
          break;
        case 4:
          v += Paeth(a, up, c);
          break;
        default:
          break;
      }
      cur[i] = static_cast<std::uint8_t>(v);
    }
    for (std::uint32_t x = 0; x < w; ++x) {
      const std::uint8_t* p = cur.data() + x * channels;
      s.set(static_cast<int>(x), static_cast<int>(y),
            channels == 1 ? Rgb(p[0], p[0], p[0]) : Rgb(p[0], p[1], p[2]));
    }
    prev.swap(cur);
  }
  r.surface = std::move(s);
  return r;
}

ImageReadResult ReadImageFile(const std::filesystem::path& path, PictureLimit largest) {
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path, bytes, kLargestPictureFile, &error)) {
    return {Surface(), path.string() + ": " + error};
  }
  ImageReadResult r =
      path.extension() == ".png" ? DecodePng(bytes, largest) : DecodeBmp(bytes, largest);
  if (!r.ok()) r.error = path.string() + ": " + r.error;
  return r;
}

bool WriteImageFile(const std::filesystem::path& path, const Surface& surface, std::string* error) {
  const bool png = path.extension() == ".png";
  if (WriteWholeFile(path, png ? EncodePng(surface) : EncodeBmp24(surface))) return true;
  if (error) *error = path.string() + ": cannot be written";
  return false;
}

}  // namespace zendor
