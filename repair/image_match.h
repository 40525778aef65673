#pragma once
// Whether a program file is an image the loader mapped: its headers and its sections hold, byte
// for byte, what was mapped, once the loader's relocations are applied to the file's bytes. A file
// that passes runs the same code with the same data as the image; any other file is another
// program, whatever its name.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

enum class ImageState {
    // A running program has written to its writable sections and the loader to its import
    // address table: only the rest can be compared.
    Running,
    // A process started suspended has run no instruction yet: every section is as mapped, the
    // writable and discardable ones too, and the imports are not yet bound. Where the system
    // relocates in the new process rather than when it maps the image (Windows before Vista),
    // the image may still hold the file's bytes as they are.
    NotStarted,
};

// `image` is the mapped image (`imageSize` bytes, from its base at address `loadedAt`).
bool FileIsLoadedImage(const std::vector<uint8_t>& file, const uint8_t* image, size_t imageSize,
                       uint64_t loadedAt, ImageState state = ImageState::Running);

// Where `rva` lies in the file, when a section's file data holds `size` bytes from there.
bool FileOffsetOf(std::span<const uint8_t> file, uint32_t rva, size_t size, size_t& offset);

// The image size the file's headers give; 0 where they can't be read.
uint32_t ImageSizeOf(std::span<const uint8_t> file);
