#pragma once
// Reading and checking of PCM wav files, so that a host only has to play samples.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct WavSound {
  std::string path;
  int channels = 0;        // 1 or 2
  int sampleRate = 0;      // samples per second
  int bitsPerSample = 0;   // 8 or 16
  std::vector<uint8_t> samples;  // interleaved PCM exactly as stored in the file
};

// Parses a RIFF/WAVE file held in memory. Returns nothing (and the reason in
// `error`) when it is not uncompressed 8- or 16-bit PCM with one or two channels,
// or when a chunk claims more bytes than the file holds.
std::optional<WavSound> ParseWav(const std::vector<uint8_t>& bytes, std::string* error = nullptr);

// Reads and parses the file at `path`.
std::optional<WavSound> ReadWav(const std::string& path, std::string* error = nullptr);

}  // namespace platform
