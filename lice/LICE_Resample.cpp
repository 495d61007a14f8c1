#include "LICE_Resample.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <numeric>

// The filter is separable and stays exact that way: each source row is first summed
// across into one set of alpha-weighted sums per destination column, those rows are
// then summed down with their row weights, and only the final quotients round.

namespace
{

using u64 = uint64_t;

constexpr long long kMaxSourcePixels = 1LL << 46;

// Sums kept per destination column: sum(w*A), sum(w*A*R), sum(w*A*G), sum(w*A*B).
constexpr int kSums = 4;

// Pixel storage of one bitmap, rows addressed from the top.
struct Raster
{
  LICE_pixel* bits;
  ptrdiff_t span;
  long long width, height;
  bool flipped;

  LICE_pixel* Row(long long r) const { return bits + (flipped ? height - 1 - r : r) * span; }
  uintptr_t Lowest() const { return reinterpret_cast<uintptr_t>(bits); }
  uintptr_t Beyond() const { return reinterpret_cast<uintptr_t>(bits + (height - 1) * span + width); }
};

Raster RasterOf(LICE_IBitmap& bm)
{
  return {bm.getBits(), bm.getRowSpan(), bm.getWidth(), bm.getHeight(), bm.isFlipped()};
}

bool SharePixels(const Raster& a, const Raster& b)
{
  return a.Lowest() < b.Beyond() && b.Lowest() < a.Beyond();
}

// One axis: source size s and destination size d over their greatest common divisor
// (every weight shrinks by the same factor, so the results stay the same), and the
// destination pixels [from, to) of the rectangle that lie inside the bitmap.
struct AxisMap
{
  u64 s, d;
  long long from, to;

  long long Drawn() const { return to - from; }
};

AxisMap MapAxis(int srcSize, int destSize, int origin, long long limit)
{
  const int g = std::gcd(srcSize, destSize);
  const long long from = origin < 0 ? -(long long)origin : 0;
  const long long to = limit - origin < destSize ? limit - origin : destSize;
  return {(u64)(srcSize / g), (u64)(destSize / g), from, to};
}

// The overlaps of one axis. For drawn destination pixel n, spans[3n] is its first
// source pixel (from the rectangle's edge), spans[3n + 1] their count and spans[3n + 2]
// where their weights start in weights.
struct AxisTable
{
  u64* spans;
  u64* weights;

  const u64* Span(long long n) const { return spans + 3 * n; }
};

// Words an axis table needs: neighbouring destination pixels share at most one source
// pixel, so there are at most drawn + source-size weights.
size_t AxisWords(const AxisMap& m, int srcSize)
{
  return (size_t)(3 * m.Drawn() + m.Drawn() + srcSize);
}

void BuildAxis(const AxisTable& t, const AxisMap& m)
{
  u64 n = 0;
  for (long long i = m.from; i < m.to; ++i)
  {
    const u64 lo = (u64)i * m.s, hi = lo + m.s;
    const u64 first = lo / m.d, last = (hi - 1) / m.d;
    u64* span = t.spans + 3 * (i - m.from);
    span[0] = first;
    span[1] = last - first + 1;
    span[2] = n;
    for (u64 k = first; k <= last; ++k)
    {
      const u64 start = k * m.d > lo ? k * m.d : lo;
      const u64 end = (k + 1) * m.d < hi ? (k + 1) * m.d : hi;
      t.weights[n++] = end - start;
    }
  }
}

// Sums of one source row (from the rectangle's left edge) for every drawn column.
void SumAcross(u64* out, const LICE_pixel* row, const AxisTable& x, long long columns)
{
  for (long long c = 0; c < columns; ++c, out += kSums)
  {
    const u64* span = x.Span(c);
    const LICE_pixel* p = row + span[0];
    const u64* w = x.weights + span[2];
    u64 a = 0, r = 0, g = 0, b = 0;
    for (u64 k = 0; k < span[1]; ++k)
    {
      const LICE_pixel px = p[k];
      const u64 wa = w[k] * (u64)LICE_GETA(px);
      a += wa;
      r += wa * (u64)LICE_GETR(px);
      g += wa * (u64)LICE_GETG(px);
      b += wa * (u64)LICE_GETB(px);
    }
    out[0] = a;
    out[1] = r;
    out[2] = g;
    out[3] = b;
  }
}

// n / d rounded half up.
inline int RoundedQuotient(u64 n, u64 d)
{
  return (int)((2 * n + d) / (2 * d));
}

LICE_pixel Average(const u64* sums, u64 total)
{
  const u64 a = sums[0];
  if (a == 0) return 0;
  return LICE_RGBA(RoundedQuotient(sums[1], a), RoundedQuotient(sums[2], a), RoundedQuotient(sums[3], a),
                   RoundedQuotient(a, total));
}

// The work tables of one resample, all in one block.
class Resampler
{
public:
  Resampler(const Raster& src, int sx, int sy, const AxisMap& mx, const AxisMap& my)
    : mSrc(src)
    , mSx(sx)
    , mSy(sy)
    , mX(mx)
    , mY(my)
  {
  }

  bool Allocate(int sw, int sh)
  {
    const size_t xWords = AxisWords(mX, sw), yWords = AxisWords(mY, sh);
    const size_t rowWords = (size_t)mX.Drawn() * kSums;
    mBlock.reset(new (std::nothrow) u64[xWords + yWords + 3 * rowWords]);
    if (!mBlock) return false;
    u64* p = mBlock.get();
    mXTable = {p, p + 3 * mX.Drawn()};
    p += xWords;
    mYTable = {p, p + 3 * mY.Drawn()};
    p += yWords;
    mRowSums[0] = p;
    mRowSums[1] = p + rowWords;
    mSums = p + 2 * rowWords;
    BuildAxis(mXTable, mX);
    BuildAxis(mYTable, mY);
    return true;
  }

  void Draw(const Raster& dest, long long dx, long long dy)
  {
    const u64 total = mX.s * mY.s;
    const long long columns = mX.Drawn();
    for (long long n = 0; n < mY.Drawn(); ++n)
    {
      const u64* span = mYTable.Span(n);
      SumDown(span, columns);
      LICE_pixel* out = dest.Row(dy + mY.from + n) + dx + mX.from;
      const LICE_pixel* single = span[1] == 1 ? SourceRow(span[0]) : nullptr;
      for (long long c = 0; c < columns; ++c)
      {
        const u64* xs = mXTable.Span(c);
        out[c] = single && xs[1] == 1 ? single[xs[0]] : Average(mSums + c * kSums, total);
      }
    }
  }

private:
  const LICE_pixel* SourceRow(u64 k) const { return mSrc.Row(mSy + (long long)k) + mSx; }

  // The across sums of source row k; the last two rows are kept, row k in slot k & 1.
  const u64* RowSums(u64 k)
  {
    const int slot = (int)(k & 1);
    if (mRowIn[slot] != (long long)k)
    {
      SumAcross(mRowSums[slot], SourceRow(k), mXTable, mX.Drawn());
      mRowIn[slot] = (long long)k;
    }
    return mRowSums[slot];
  }

  void SumDown(const u64* span, long long columns)
  {
    const size_t words = (size_t)columns * kSums;
    const u64* w = mYTable.weights + span[2];
    const u64* first = RowSums(span[0]);
    for (size_t i = 0; i < words; ++i) mSums[i] = w[0] * first[i];
    for (u64 k = 1; k < span[1]; ++k)
    {
      const u64* sums = RowSums(span[0] + k);
      for (size_t i = 0; i < words; ++i) mSums[i] += w[k] * sums[i];
    }
  }

  Raster mSrc;
  long long mSx, mSy;
  AxisMap mX, mY;
  std::unique_ptr<u64[]> mBlock;
  AxisTable mXTable{}, mYTable{};
  u64* mRowSums[2] = {};
  long long mRowIn[2] = {-1, -1};
  u64* mSums = nullptr;
};

void CopyBlock(const Raster& dest, long long dx, long long dy, const Raster& src, int sx, int sy, const AxisMap& mx,
               const AxisMap& my)
{
  const size_t bytes = (size_t)mx.Drawn() * sizeof(LICE_pixel);
  for (long long r = my.from; r < my.to; ++r)
    memcpy(dest.Row(dy + r) + dx + mx.from, src.Row(sy + r) + sx + mx.from, bytes);
}

}  // namespace

bool LICE_ResampleArea(LICE_IBitmap* dest, int dx, int dy, int dw, int dh, const LICE_IBitmap* src, int sx, int sy,
                       int sw, int sh)
{
  if (!dest || !src || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return false;
  // The bitmap interface has no const getters; the source is only read.
  const Raster s = RasterOf(*const_cast<LICE_IBitmap*>(src));
  const Raster d = RasterOf(*dest);
  if (!s.bits || !d.bits || s.width <= 0 || s.height <= 0 || d.width <= 0 || d.height <= 0) return false;
  if (sx < 0 || sy < 0 || sx + (long long)sw > s.width || sy + (long long)sh > s.height) return false;
  if ((long long)sw * sh > kMaxSourcePixels || SharePixels(s, d)) return false;

  const AxisMap mx = MapAxis(sw, dw, dx, d.width), my = MapAxis(sh, dh, dy, d.height);
  if (mx.Drawn() <= 0 || my.Drawn() <= 0) return false;
  if (sw == dw && sh == dh)
  {
    CopyBlock(d, dx, dy, s, sx, sy, mx, my);
    return true;
  }
  Resampler r(s, sx, sy, mx, my);
  if (!r.Allocate(sw, sh)) return false;
  r.Draw(d, dx, dy);
  return true;
}
