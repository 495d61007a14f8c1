#pragma once

// Walks UTF-8 text one character at a time, the way the glyph-cache text output
// lays it out. Malformed bytes become characters of their own value, sequences of
// four bytes (beyond the 16-bit glyph range) become spaces. Reading stops at a NUL
// byte or when the byte count is used up; a negative count means up to the NUL.
// A multi-byte sequence is only taken when all of its bytes lie within the count.
class LICE_Utf8Reader
{
public:
  LICE_Utf8Reader(const char* text, int count);

  // Stores the next character in `code` and returns true; false at the end.
  bool Next(int& code);

  // True when the first `count` bytes (negative: up to the NUL) contain a
  // well-formed multi-byte sequence, i.e. the text is not plain 8-bit.
  static bool HasMultiByteSequence(const char* text, int count);

private:
  bool Available(int n) const { return mLeft < 0 || mLeft >= n; }

  const unsigned char* mPos;
  int mLeft;
};
