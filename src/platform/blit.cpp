#include "platform/blit.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zendor {
namespace {

// One axis of a transfer: which destination coordinates are written and which source coordinate
// each of them reads, after clipping both sides. Destination coordinates ascend from `first`.
struct AxisMap {
  int first = 0;            // first destination coordinate written
  std::vector<int> source;  // source coordinate for first, first + 1, ...
};

// Maps destination step i (0..|dlen|-1, counted from d0 in the direction of dlen) to source step
// floor((2i + 1) |slen| / (2 |dlen|)) counted from s0 in the direction of slen; keeps the steps
// whose destination lies in [0, dlimit) and whose source lies in [0, slimit).
void MapAxis(int d0, int dlen, int dlimit, int s0, int slen, int slimit, AxisMap& out) {
  out.source.clear();
  const long long dn = std::llabs(static_cast<long long>(dlen));
  const long long sn = std::llabs(static_cast<long long>(slen));
  // (2i + 1) sn stays below 2^64 for every i < 2^32 and sn <= 2^31: unsigned arithmetic holds it.
  const auto un = static_cast<unsigned long long>(sn);
  const auto ud = static_cast<unsigned long long>(dn);
  const int ddir = dlen < 0 ? -1 : 1;
  const int sdir = slen < 0 ? -1 : 1;
  // Destination steps that land inside the destination: [lo, hi).
  long long lo = 0, hi = dn;
  if (ddir > 0) {
    lo = std::max<long long>(lo, -static_cast<long long>(d0));
    hi = std::min<long long>(hi, static_cast<long long>(dlimit) - d0);
  } else {
    lo = std::max<long long>(lo, static_cast<long long>(d0) - (dlimit - 1));
    hi = std::min<long long>(hi, static_cast<long long>(d0) + 1);
  }
  // Source steps outside the source only ever trim the ends, so the kept steps are contiguous.
  long long firstKept = -1, lastKept = -1;
  for (long long i = lo; i < hi; ++i) {
    const auto step =
        static_cast<long long>((2 * static_cast<unsigned long long>(i) + 1) * un / (2 * ud));
    const long long s = s0 + sdir * step;
    if (s < 0 || s >= slimit) {
      if (firstKept >= 0) break;
      continue;
    }
    if (firstKept < 0) firstKept = i;
    lastKept = i;
    out.source.push_back(static_cast<int>(s));
  }
  if (out.source.empty()) return;
  if (ddir > 0) {
    out.first = static_cast<int>(d0 + firstKept);
  } else {
    out.first = static_cast<int>(d0 - lastKept);
    std::reverse(out.source.begin(), out.source.end());
  }
}

template <Rop kOp>
inline void ApplyRow(Pixel* d, const Pixel* s, std::size_t n) {
  if constexpr (kOp == Rop::SrcCopy) {
    std::memcpy(d, s, n * sizeof(Pixel));
  } else if constexpr (kOp == Rop::SrcAnd) {
    for (std::size_t i = 0; i < n; ++i) d[i] &= s[i];
  } else {
    for (std::size_t i = 0; i < n; ++i) d[i] |= s[i];
  }
}

template <Rop kOp>
inline void ApplyGather(Pixel* d, const Pixel* srow, const int* cols, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const Pixel s = srow[cols[i]];
    if constexpr (kOp == Rop::SrcCopy) {
      d[i] = s;
    } else if constexpr (kOp == Rop::SrcAnd) {
      d[i] &= s;
    } else {
      d[i] |= s;
    }
  }
}

// A same-size block after clipping to both surfaces: destination (x, y), source (sx, sy),
// w x h; nothing remains when w or h is not positive.
struct ClippedBlock {
  int x = 0, y = 0, sx = 0, sy = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
};

ClippedBlock ClipBlock(const Surface& dst, int x, int y, int w, int h, const Surface& src, int sx,
                       int sy) {
  // Normalise negative extents: the block covers x-w+1..x on both sides.
  long long x0 = x, y0 = y, sx0 = sx, sy0 = sy, ww = w, hh = h;
  if (ww < 0) {
    ww = -ww;
    x0 -= ww - 1;
    sx0 -= ww - 1;
  }
  if (hh < 0) {
    hh = -hh;
    y0 -= hh - 1;
    sy0 -= hh - 1;
  }
  auto clip = [](long long& d, long long& s, long long& len, long long dlim, long long slim) {
    const long long cut = std::max({0LL, -d, -s});
    d += cut;
    s += cut;
    len -= cut;
    len = std::min({len, dlim - d, slim - s});
  };
  clip(x0, sx0, ww, dst.width(), src.width());
  clip(y0, sy0, hh, dst.height(), src.height());
  if (ww <= 0 || hh <= 0) return {};
  return {static_cast<int>(x0),  static_cast<int>(y0), static_cast<int>(sx0),
          static_cast<int>(sy0), static_cast<int>(ww), static_cast<int>(hh)};
}

// Same-size, same-orientation transfer: row-wise operations on the clipped rectangle.
template <Rop kOp>
void DirectBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy) {
  const ClippedBlock b = ClipBlock(dst, x, y, w, h, src, sx, sy);
  if (b.empty()) return;
  const auto n = static_cast<std::size_t>(b.w);
  const bool sameSurface = &dst == &src;
  if (sameSurface && b.sy < b.y) {
    for (int r = b.h - 1; r >= 0; --r) {
      Pixel* d = dst.row(b.y + r) + b.x;
      const Pixel* s = src.row(b.sy + r) + b.sx;
      if constexpr (kOp == Rop::SrcCopy) {
        std::memmove(d, s, n * sizeof(Pixel));
      } else {
        ApplyRow<kOp>(d, s, n);
      }
    }
    return;
  }
  for (int r = 0; r < b.h; ++r) {
    Pixel* d = dst.row(b.y + r) + b.x;
    const Pixel* s = src.row(b.sy + r) + b.sx;
    if (sameSurface && kOp == Rop::SrcCopy) {
      std::memmove(d, s, n * sizeof(Pixel));
    } else {
      ApplyRow<kOp>(d, s, n);
    }
  }
}

template <Rop kOp>
void MappedBlt(Surface& dst, const AxisMap& cols, const AxisMap& rows, const Surface& src) {
  const std::size_t n = cols.source.size();
  // Overlapping source and destination: read from a snapshot of the source.
  Surface copy;
  const Surface* from = &src;
  if (&dst == &src) {
    copy = src;
    from = &copy;
  }
  int previousSourceRow = -1;
  const Pixel* previousRow = nullptr;
  for (std::size_t r = 0; r < rows.source.size(); ++r) {
    const int sy = rows.source[r];
    Pixel* d = dst.row(rows.first + static_cast<int>(r)) + cols.first;
    if constexpr (kOp == Rop::SrcCopy) {
      // Rows repeated by a vertical enlargement are copies of the row just written.
      if (sy == previousSourceRow && previousRow != nullptr) {
        std::memcpy(d, previousRow, n * sizeof(Pixel));
        continue;
      }
    }
    ApplyGather<kOp>(d, from->row(sy), cols.source.data(), n);
    previousSourceRow = sy;
    previousRow = d;
  }
}

template <Rop kOp>
void Stretch(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw,
             int sh) {
  if (w == sw && h == sh) {
    DirectBlt<kOp>(dst, x, y, w, h, src, sx, sy);
    return;
  }
  thread_local AxisMap cols, rows;
  MapAxis(x, w, dst.width(), sx, sw, src.width(), cols);
  if (cols.source.empty()) return;
  MapAxis(y, h, dst.height(), sy, sh, src.height(), rows);
  if (rows.source.empty()) return;
  MappedBlt<kOp>(dst, cols, rows, src);
}

}  // namespace

void StretchBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                int sw, int sh, Rop rop) {
  if (w == 0 || h == 0 || sw == 0 || sh == 0 || dst.empty() || src.empty()) return;
  switch (rop) {
    case Rop::SrcCopy:
      Stretch<Rop::SrcCopy>(dst, x, y, w, h, src, sx, sy, sw, sh);
      break;
    case Rop::SrcAnd:
      Stretch<Rop::SrcAnd>(dst, x, y, w, h, src, sx, sy, sw, sh);
      break;
    case Rop::SrcPaint:
      Stretch<Rop::SrcPaint>(dst, x, y, w, h, src, sx, sy, sw, sh);
      break;
  }
}

void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rop rop) {
  StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

void MaskedBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int imageX, int imageY,
               int maskX, int maskY) {
  if (&dst != &src && w > 0 && h > 0) {
    const ClippedBlock mask = ClipBlock(dst, x, y, w, h, src, maskX, maskY);
    const ClippedBlock image = ClipBlock(dst, x, y, w, h, src, imageX, imageY);
    if (mask.empty() && image.empty()) return;
    // Usually both blocks keep the same part of the destination: one pass does both.
    if (mask.x == image.x && mask.y == image.y && mask.w == image.w && mask.h == image.h) {
      const auto n = static_cast<std::size_t>(mask.w);
      for (int r = 0; r < mask.h; ++r) {
        Pixel* d = dst.row(mask.y + r) + mask.x;
        const Pixel* m = src.row(mask.sy + r) + mask.sx;
        const Pixel* i = src.row(image.sy + r) + image.sx;
        for (std::size_t k = 0; k < n; ++k) d[k] = (d[k] & m[k]) | i[k];
      }
      return;
    }
  }
  BitBlt(dst, x, y, w, h, src, maskX, maskY, Rop::SrcAnd);
  BitBlt(dst, x, y, w, h, src, imageX, imageY, Rop::SrcPaint);
}

void AlphaBlend(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                std::uint8_t alpha) {
  if (w <= 0 || h <= 0) return;
  const ClippedBlock b = ClipBlock(dst, x, y, w, h, src, sx, sy);
  if (b.empty()) return;
  const unsigned a = alpha;
  const unsigned na = 255 - a;
  auto mix = [&](unsigned s, unsigned d) { return (2 * (s * a + d * na) + 255) / 510; };
  for (int r = 0; r < b.h; ++r) {
    Pixel* d = dst.row(b.y + r) + b.x;
    const Pixel* s = src.row(b.sy + r) + b.sx;
    for (int i = 0; i < b.w; ++i) {
      const Pixel sp = s[i], dp = d[i];
      d[i] = (mix((sp >> 16) & 0xFF, (dp >> 16) & 0xFF) << 16) |
             (mix((sp >> 8) & 0xFF, (dp >> 8) & 0xFF) << 8) | mix(sp & 0xFF, dp & 0xFF);
    }
  }
}

void FillRect(Surface& dst, int x, int y, int w, int h, Pixel colour) {
  if (w <= 0 || h <= 0) return;
  const auto clip = [](int at, int length, int limit, int& first, int& last) {
    first = static_cast<int>(std::clamp<long long>(at, 0, limit));
    last = static_cast<int>(std::clamp<long long>(static_cast<long long>(at) + length, 0, limit));
  };
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  clip(x, w, dst.width(), x0, x1);
  clip(y, h, dst.height(), y0, y1);
  if (x0 >= x1) return;
  for (int r = y0; r < y1; ++r) std::fill(dst.row(r) + x0, dst.row(r) + x1, colour);
}

}  // namespace zendor
