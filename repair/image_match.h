#pragma once
// Whether a program file is the image that runs in this process: its headers and every section
// that the program can't write hold, byte for byte, what the loader mapped, once the loader's
// relocations are applied to the file's bytes. A file that passes runs the same code with the same
// constant data as the running program; any other file is another program, whatever its name.
#include <cstddef>
#include <cstdint>
#include <vector>

// `image` is the mapped image (`imageSize` bytes, from its base at address `loadedAt`).
bool FileIsLoadedImage(const std::vector<uint8_t>& file, const uint8_t* image, size_t imageSize,
                       uint64_t loadedAt);
