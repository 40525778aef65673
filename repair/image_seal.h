#pragma once
// The seal a build writes into the program after linking: the SHA-256 digest of the whole file
// as linked, with the digest's own 32 bytes zero. It sits in a read-only section, behind a marker
// that the sealing script (scripts/seal-image.sh) finds, so the running program can tell whether
// a file is, byte for byte, the one it was loaded from: its writable sections too (the import
// table, the initial values of its data), which it can't compare with its own memory because it
// has written to them since.
#include <cstddef>
#include <cstdint>
#include <span>

#include "repair/sha256.h"

inline constexpr size_t kSealMarkerSize = 32;
inline constexpr size_t kSealSize = kSealMarkerSize + 32;

// The program's own seal, as mapped: the marker, then the digest (all zero in an unsealed build).
// Read it through a volatile pointer, so that the compiler reads the image instead of folding in
// the zeros it was compiled with.
extern const uint8_t kImageSeal[kSealSize];

// The digest in the running program's seal; nothing where the build was not sealed.
bool ReadOwnSeal(Sha256Digest& digest);

// Whether `file` is the sealed file whose digest is `digest`, given that the seal lies at
// `sealOffset` in it: the marker and the digest are there, and the file hashed with the digest's
// bytes zero gives the digest.
bool FileMatchesSeal(std::span<const uint8_t> file, size_t sealOffset, const Sha256Digest& digest);
