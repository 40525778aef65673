#include "repair/image_seal.h"

#include <algorithm>
#include <array>

// Constant, so that it lies in a section the program can't write.
const uint8_t kImageSeal[kSealSize] = {'Q', 'u', 'e', 'n', 'd', 'r', 'y', ' ', 'i', 'm', 'a',
                                       'g', 'e', ' ', 's', 'e', 'a', 'l', ',', ' ', 'v', 'e',
                                       'r', 's', 'i', 'o', 'n', ' ', '1', ':', ' ', '#'};

bool ReadOwnSeal(Sha256Digest& digest) {
    const volatile uint8_t* seal = kImageSeal;
    bool sealed = false;
    for (size_t i = 0; i < digest.size(); ++i) {
        digest[i] = seal[kSealMarkerSize + i];
        sealed = sealed || digest[i] != 0;
    }
    return sealed;
}

bool FileMatchesSeal(std::span<const uint8_t> file, size_t sealOffset, const Sha256Digest& digest) {
    if (sealOffset > file.size() || file.size() - sealOffset < kSealSize)
        return false;
    for (size_t i = 0; i < kSealMarkerSize; ++i)
        if (file[sealOffset + i] != kImageSeal[i])
            return false;
    const size_t digestAt = sealOffset + kSealMarkerSize;
    if (!std::equal(digest.begin(), digest.end(), file.begin() + digestAt))
        return false;
    Sha256 hash;
    const std::array<uint8_t, 32> zero = {};
    hash.Update(file.first(digestAt));
    hash.Update(zero);
    hash.Update(file.subspan(digestAt + zero.size()));
    return hash.Final() == digest;
}
