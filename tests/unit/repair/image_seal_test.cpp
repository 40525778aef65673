// The digest a build seals into the program: the standard's own test vectors, and a file whose
// every byte counts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "repair/image_seal.h"

namespace {

std::string Hex(const Sha256Digest& d) {
    std::string text;
    for (const uint8_t b : d)
        text += "0123456789abcdef"[b >> 4], text += "0123456789abcdef"[b & 15];
    return text;
}

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

} // namespace

TEST(Sha256, StandardVectors) {
    const struct {
        std::string Input;
        const char* Digest;
    } cases[] = {
        {.Input = "", .Digest = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {.Input = "abc",
         .Digest = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {.Input = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         .Digest = "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {.Input = std::string(1000000, 'a'),
         .Digest = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(Sha256Of(Bytes(c.Input))), c.Digest) << c.Input.size() << " bytes";
}

TEST(ImageSeal, TheSealedFileAndNoOtherMatches) {
    // A file of this build's marker with data on both sides, sealed as the build seals it.
    std::vector<uint8_t> file = Bytes("headers and code ");
    const size_t sealAt = file.size();
    for (size_t i = 0; i < kSealMarkerSize; ++i)
        file.push_back(kImageSeal[i]);
    file.resize(file.size() + 32);
    for (const char c : std::string(" writable data, resources"))
        file.push_back(static_cast<uint8_t>(c));
    const Sha256Digest digest = Sha256Of(file);
    std::copy(digest.begin(), digest.end(), file.begin() + sealAt + kSealMarkerSize);
    EXPECT_TRUE(FileMatchesSeal(file, sealAt, digest));

    for (const size_t changed :
         {size_t{0}, sealAt + 3, sealAt + kSealMarkerSize + 5, file.size() - 1}) {
        std::vector<uint8_t> other = file;
        other[changed] ^= 0x20;
        EXPECT_FALSE(FileMatchesSeal(other, sealAt, digest)) << "byte " << changed << " changed";
    }
    EXPECT_FALSE(FileMatchesSeal(file, sealAt + 1, digest));
    EXPECT_FALSE(FileMatchesSeal(file, file.size() - 10, digest)) << "a seal cut off at the end";
    const Sha256Digest zero = {};
    Sha256Digest ownDigest;
    EXPECT_FALSE(ReadOwnSeal(ownDigest)) << "a test program is never sealed";
    EXPECT_EQ(ownDigest, zero);
}
