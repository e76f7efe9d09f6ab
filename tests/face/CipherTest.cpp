// The face file cipher: published Twofish and SHA-1 vectors, and the whole
// payload deciphering cross-checked against an independent implementation.
#include <gtest/gtest.h>
#include <nettle/twofish.h>

#include <string>
#include <vector>

#include "face/FaceFile.h"
#include "face/FaceSeal.h"
#include "face/Random.h"
#include "face/Sha1.h"
#include "face/Twofish.h"
#include "tests/support/ReferenceFaceCipher.h"

namespace glamora {
namespace {

std::vector<uint8_t> FromHex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

std::string ToHex(const uint8_t* data, size_t size) {
  static const char* digits = "0123456789ABCDEF";
  std::string hex;
  for (size_t i = 0; i < size; ++i) {
    hex += digits[data[i] >> 4];
    hex += digits[data[i] & 15];
  }
  return hex;
}

struct TwofishVector {
  const char* key;
  const char* plain;
  const char* cipher;
};

TEST(Twofish, PublishedVectorsForEveryKeyLength) {
  const TwofishVector vectors[] = {
      {"00000000000000000000000000000000", "00000000000000000000000000000000", "9F589F5CF6122C32B6BFEC2F2AE8C35A"},
      {"0123456789ABCDEFFEDCBA98765432100011223344556677", "00000000000000000000000000000000",
       "CFD1D2E5A9BE9CDF501F13B892BD2248"},
      {"0123456789ABCDEFFEDCBA987654321000112233445566778899AABBCCDDEEFF", "00000000000000000000000000000000",
       "37527BE0052334B89F0CFCCAE87CFA20"},
      // Second step of the 128-bit chain of the published table: key = the first ciphertext's predecessor.
      {"00000000000000000000000000000000", "9F589F5CF6122C32B6BFEC2F2AE8C35A", "D491DB16E7B1C39E86CB086B789F5419"},
  };
  for (const auto& v : vectors) {
    const auto key = FromHex(v.key);
    const auto plain = FromHex(v.plain);
    const Twofish cipher(key.data(), key.size());
    uint8_t out[16];
    cipher.Encrypt(plain.data(), out);
    EXPECT_EQ(ToHex(out, 16), v.cipher) << "key " << v.key;
  }
}

TEST(Twofish, ShortKeysArePaddedWithZerosToTheNextSchedule) {
  const auto key20 = FromHex("000102030405060708090A0B0C0D0E0F10111213");
  auto key24 = key20;
  key24.resize(24, 0);
  const Twofish shortKey(key20.data(), key20.size());
  const Twofish padded(key24.data(), key24.size());
  const uint8_t plain[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  uint8_t a[16], b[16];
  shortKey.Encrypt(plain, a);
  padded.Encrypt(plain, b);
  EXPECT_EQ(ToHex(a, 16), ToHex(b, 16));

  twofish_ctx reference;
  twofish_set_key(&reference, key24.size(), key24.data());
  uint8_t c[16];
  twofish_encrypt(&reference, 16, c, plain);
  EXPECT_EQ(ToHex(a, 16), ToHex(c, 16));
}

TEST(Sha1, StandardVectors) {
  const std::pair<std::string, const char*> vectors[] = {
      {"abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "84983E441C3BD26EBAAE4AA1F95129E5E54670F1"},
  };
  for (const auto& [text, digest] : vectors) {
    const auto d = Sha1::Of(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    EXPECT_EQ(ToHex(d.data(), d.size()), digest) << '"' << text << '"';
  }
  // One million "a", fed in uneven pieces.
  Sha1 sha;
  const std::string piece(997, 'a');
  size_t fed = 0;
  while (fed < 1000000) {
    const size_t n = std::min(piece.size(), size_t(1000000) - fed);
    sha.Update(reinterpret_cast<const uint8_t*>(piece.data()), n);
    fed += n;
  }
  const auto d = sha.Final();
  EXPECT_EQ(ToHex(d.data(), d.size()), "34AA973CD4C4DAA4F61EEB2BDBAD27316534016F");
}

TEST(RandomGenerator, DrawsTheTopBitsOfTheProduct) {
  RandomGenerator g(0);
  EXPECT_EQ(g.Draw(256), 0u);  // S = 1: top byte 0
  EXPECT_EQ(g.State(), 1u);
  EXPECT_EQ(g.Draw(256), uint32_t((134775813u + 1u) >> 24));
  RandomGenerator h(0xFFFFFFFFu);
  const uint32_t next = 0xFFFFFFFFu * 134775813u + 1u;
  EXPECT_EQ(h.Draw(1000), uint32_t((uint64_t(next) * 1000) >> 32));
}

TEST(FacePayload, DeciphersLikeAnIndependentImplementation) {
  for (size_t length : {size_t(0), size_t(1), size_t(15), size_t(16), size_t(17), size_t(50000)}) {
    std::vector<uint8_t> data(length);
    for (size_t i = 0; i < length; ++i) data[i] = uint8_t(i * 7 + (i >> 8));
    auto ours = data;
    DecipherFacePayload(ours.data(), ours.size());
    EXPECT_EQ(ours, test::ReferenceFaceCipher(data, test::CipherDirection::Decipher)) << "length " << length;
    // Sealing is the exact inverse, the last byte included.
    EncipherFacePayload(ours.data(), ours.size());
    EXPECT_EQ(ours, data) << "length " << length;
  }
}

TEST(FacePayload, KeyDependsOnThePayloadLength) {
  EXPECT_NE(BuildFaceKeyText(100), BuildFaceKeyText(101));
  std::vector<uint8_t> a(32, 0x55), b(33, 0x55);
  DecipherFacePayload(a.data(), a.size());
  DecipherFacePayload(b.data(), b.size());
  EXPECT_NE(std::vector<uint8_t>(a.begin(), a.end()), std::vector<uint8_t>(b.begin(), b.begin() + 32));
}

}  // namespace
}  // namespace glamora
