// Twofish with a 160-bit key in 8-bit cipher feedback, deciphering face payloads.
#include "face/Twofish.h"

#include <cstring>

namespace glamora {

namespace {

constexpr uint32_t Rol(uint32_t v, int n) { return (v << n) | (v >> (32 - n)); }
constexpr uint32_t Ror(uint32_t v, int n) { return (v >> n) | (v << (32 - n)); }

// The 4-bit permutations that build the fixed permutations q0 and q1.
constexpr uint8_t kQ0t[4][16] = {
    {0x8, 0x1, 0x7, 0xD, 0x6, 0xF, 0x3, 0x2, 0x0, 0xB, 0x5, 0x9, 0xE, 0xC, 0xA, 0x4},
    {0xE, 0xC, 0xB, 0x8, 0x1, 0x2, 0x3, 0x5, 0xF, 0x4, 0xA, 0x6, 0x7, 0x0, 0x9, 0xD},
    {0xB, 0xA, 0x5, 0xE, 0x6, 0xD, 0x9, 0x0, 0xC, 0x8, 0xF, 0x3, 0x2, 0x4, 0x7, 0x1},
    {0xD, 0x7, 0xF, 0x4, 0x1, 0x2, 0x6, 0xE, 0x9, 0xB, 0x3, 0x0, 0x8, 0x5, 0xC, 0xA}};
constexpr uint8_t kQ1t[4][16] = {
    {0x2, 0x8, 0xB, 0xD, 0xF, 0x7, 0x6, 0xE, 0x3, 0x1, 0x9, 0x4, 0x0, 0xA, 0xC, 0x5},
    {0x1, 0xE, 0x2, 0xB, 0x4, 0xC, 0x3, 0x7, 0x6, 0xD, 0xA, 0x5, 0xF, 0x9, 0x0, 0x8},
    {0x4, 0xC, 0x7, 0x5, 0x1, 0x6, 0x9, 0xA, 0x0, 0xE, 0xD, 0x8, 0x2, 0xB, 0x3, 0xF},
    {0xB, 0x9, 0x5, 0x1, 0xC, 0x3, 0xD, 0xE, 0x6, 0x4, 0x7, 0xF, 0x2, 0x0, 0x8, 0xA}};

constexpr uint8_t Ror4(uint8_t v) { return uint8_t(((v >> 1) | (v << 3)) & 0xF); }

constexpr uint8_t Permute(const uint8_t (&t)[4][16], uint8_t x) {
  uint8_t a = x >> 4, b = x & 0xF;
  uint8_t a1 = a ^ b, b1 = uint8_t((a ^ Ror4(b) ^ (8 * a)) & 0xF);
  uint8_t a2 = t[0][a1], b2 = t[1][b1];
  uint8_t a3 = a2 ^ b2, b3 = uint8_t((a2 ^ Ror4(b2) ^ (8 * a2)) & 0xF);
  return uint8_t(t[3][b3] << 4 | t[2][a3]);
}

struct FixedPermutations {
  uint8_t q0[256], q1[256];
  constexpr FixedPermutations() : q0{}, q1{} {
    for (int i = 0; i < 256; ++i) {
      q0[i] = Permute(kQ0t, uint8_t(i));
      q1[i] = Permute(kQ1t, uint8_t(i));
    }
  }
};
constexpr FixedPermutations kQ;

// Multiplication in GF(2^8) modulo the given primitive polynomial.
constexpr uint8_t GfMul(uint8_t a, uint8_t b, unsigned poly) {
  unsigned r = 0, x = a;
  while (b) {
    if (b & 1) r ^= x;
    x <<= 1;
    if (x & 0x100) x ^= poly;
    b >>= 1;
  }
  return uint8_t(r);
}

constexpr unsigned kMdsPoly = 0x169;
constexpr unsigned kRsPoly = 0x14D;

constexpr uint8_t kMds[4][4] = {
    {0x01, 0xEF, 0x5B, 0x5B}, {0x5B, 0xEF, 0xEF, 0x01}, {0xEF, 0x5B, 0x01, 0xEF}, {0xEF, 0x01, 0xEF, 0x5B}};
constexpr uint8_t kRs[4][8] = {{0x01, 0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E},
                               {0xA4, 0x56, 0x82, 0xF3, 0x1E, 0xC6, 0x68, 0xE5},
                               {0x02, 0xA1, 0xFC, 0xC1, 0x47, 0xAE, 0x3D, 0x19},
                               {0xA4, 0x55, 0x87, 0x5A, 0x58, 0xDB, 0x9E, 0x03}};

// Column `column` of the MDS matrix times byte y, as a little-endian word.
uint32_t MdsColumn(int column, uint8_t y) {
  uint32_t word = 0;
  for (int row = 0; row < 4; ++row) word |= uint32_t(GfMul(kMds[row][column], y, kMdsPoly)) << (8 * row);
  return word;
}

constexpr uint8_t ByteOf(uint32_t w, int i) { return uint8_t(w >> (8 * i)); }

// The S-box chain of the h function for one byte position, before the MDS step.
uint8_t SboxChain(int position, uint8_t y, const uint32_t* list, int k) {
  const uint8_t* q0 = kQ.q0;
  const uint8_t* q1 = kQ.q1;
  // Which fixed permutation each stage applies, per byte position.
  static constexpr bool kStage4[4] = {true, false, false, true};  // q1, q0, q0, q1
  static constexpr bool kStage3[4] = {true, true, false, false};  // q1, q1, q0, q0
  static constexpr bool kStage2[4] = {false, true, false, true};  // q0, q1, q0, q1
  static constexpr bool kStage1[4] = {false, false, true, true};  // q0, q0, q1, q1
  static constexpr bool kStage0[4] = {true, false, true, false};  // q1, q0, q1, q0
  if (k == 4) y = (kStage4[position] ? q1 : q0)[y] ^ ByteOf(list[3], position);
  if (k >= 3) y = (kStage3[position] ? q1 : q0)[y] ^ ByteOf(list[2], position);
  y = (kStage2[position] ? q1 : q0)[y] ^ ByteOf(list[1], position);
  y = (kStage1[position] ? q1 : q0)[y] ^ ByteOf(list[0], position);
  return (kStage0[position] ? q1 : q0)[y];
}

uint32_t H(uint32_t x, const uint32_t* list, int k) {
  uint32_t z = 0;
  for (int i = 0; i < 4; ++i) z ^= MdsColumn(i, SboxChain(i, ByteOf(x, i), list, k));
  return z;
}

uint32_t LoadLe(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLe(uint32_t v, uint8_t* p) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// Clears memory in a way the optimiser may not drop.
void Wipe(void* p, size_t n) {
  volatile uint8_t* v = static_cast<volatile uint8_t*>(p);
  while (n--) *v++ = 0;
}

}  // namespace

Twofish::Twofish(const uint8_t* key, size_t keySize) {
  uint8_t padded[32] = {};
  if (keySize > 32) keySize = 32;
  std::memcpy(padded, key, keySize);
  const int k = keySize <= 16 ? 2 : keySize <= 24 ? 3 : 4;

  uint32_t even[4] = {}, odd[4] = {}, s[4] = {};
  for (int i = 0; i < k; ++i) {
    even[i] = LoadLe(padded + 8 * i);
    odd[i] = LoadLe(padded + 8 * i + 4);
    uint32_t word = 0;
    for (int row = 0; row < 4; ++row) {
      uint8_t acc = 0;
      for (int col = 0; col < 8; ++col) acc ^= GfMul(kRs[row][col], padded[8 * i + col], kRsPoly);
      word |= uint32_t(acc) << (8 * row);
    }
    s[k - 1 - i] = word;  // the S vector lists the words in reverse order
  }

  constexpr uint32_t rho = 0x01010101u;
  for (uint32_t i = 0; i < 20; ++i) {
    const uint32_t a = H(2 * i * rho, even, k);
    const uint32_t b = Rol(H((2 * i + 1) * rho, odd, k), 8);
    subkeys_[2 * i] = a + b;
    subkeys_[2 * i + 1] = Rol(a + 2 * b, 9);
  }
  for (int position = 0; position < 4; ++position) {
    for (int y = 0; y < 256; ++y) sbox_[position][y] = MdsColumn(position, SboxChain(position, uint8_t(y), s, k));
  }
  Wipe(padded, sizeof padded);
  Wipe(even, sizeof even);
  Wipe(odd, sizeof odd);
  Wipe(s, sizeof s);
}

Twofish::~Twofish() {
  Wipe(subkeys_, sizeof subkeys_);
  Wipe(sbox_, sizeof sbox_);
}

uint32_t Twofish::G(uint32_t x) const {
  return sbox_[0][ByteOf(x, 0)] ^ sbox_[1][ByteOf(x, 1)] ^ sbox_[2][ByteOf(x, 2)] ^ sbox_[3][ByteOf(x, 3)];
}

void Twofish::Encrypt(const uint8_t in[16], uint8_t out[16]) const {
  uint32_t r[4];
  for (int i = 0; i < 4; ++i) r[i] = LoadLe(in + 4 * i) ^ subkeys_[i];
  for (int round = 0; round < 16; ++round) {
    const uint32_t t0 = G(r[0]);
    const uint32_t t1 = G(Rol(r[1], 8));
    const uint32_t f0 = t0 + t1 + subkeys_[2 * round + 8];
    const uint32_t f1 = t0 + 2 * t1 + subkeys_[2 * round + 9];
    const uint32_t r2 = Ror(r[2] ^ f0, 1);
    const uint32_t r3 = Rol(r[3], 1) ^ f1;
    r[2] = r[0];
    r[3] = r[1];
    r[0] = r2;
    r[1] = r3;
  }
  // The last round's swap is undone by the output whitening order.
  for (int i = 0; i < 4; ++i) StoreLe(r[(i + 2) % 4] ^ subkeys_[i + 4], out + 4 * i);
}

void Cfb8Decrypt(const Twofish& cipher, uint8_t* data, size_t size) {
  uint8_t shift[16] = {};
  uint8_t keystream[16];
  for (size_t i = 0; i < size; ++i) {
    cipher.Encrypt(shift, keystream);
    const uint8_t enciphered = data[i];
    data[i] = enciphered ^ keystream[0];
    std::memmove(shift, shift + 1, 15);
    shift[15] = enciphered;
  }
  Wipe(shift, sizeof shift);
  Wipe(keystream, sizeof keystream);
}

}  // namespace glamora
