#pragma once

// A rectangle in editor pixels (origin top-left, y downward); right and bottom are
// exclusive for drawing. All four zero means empty; a rectangle of zero area with
// other coordinates is not empty.
struct IRectangle
{
  int L = 0, T = 0, R = 0, B = 0;

  IRectangle() = default;
  IRectangle(int l, int t, int r, int b)
    : L(l)
    , T(t)
    , R(r)
    , B(b)
  {
  }

  bool Empty() const { return L == 0 && T == 0 && R == 0 && B == 0; }
  int W() const { return R - L; }
  int H() const { return B - T; }

  // True when neither is empty and this.R >= other.L, this.L < other.R,
  // this.B >= other.T and this.T < other.B: touching on this rectangle's right or
  // bottom edge counts, touching on its left or top edge does not.
  bool Intersects(const IRectangle& other) const
  {
    return !Empty() && !other.Empty() && R >= other.L && L < other.R && B >= other.T && T < other.B;
  }

  // (max L, max T, min R, min B); meaningful when the two intersect.
  IRectangle Intersect(const IRectangle& other) const
  {
    return IRectangle(L > other.L ? L : other.L, T > other.T ? T : other.T, R < other.R ? R : other.R,
                      B < other.B ? B : other.B);
  }

  // The smallest rectangle holding both; an empty side adds nothing.
  IRectangle Union(const IRectangle& other) const
  {
    if (Empty()) return other;
    if (other.Empty()) return *this;
    return IRectangle(L < other.L ? L : other.L, T < other.T ? T : other.T, R > other.R ? R : other.R,
                      B > other.B ? B : other.B);
  }

  bool operator==(const IRectangle& o) const { return L == o.L && T == o.T && R == o.R && B == o.B; }
  bool operator!=(const IRectangle& o) const { return !(*this == o); }
};
