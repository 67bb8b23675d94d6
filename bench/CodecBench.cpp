// PNG save and load, JPEG load and the reduction, each beside the plainest use of
// the same library (or, for the reduction, a 4 × 4 box average) on the same data.

#include <benchmark/benchmark.h>
#include <png.h>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/Jpeg.h"
#include "lumavex/files/Png.h"
#include "lumavex/files/Reduction.h"
#include "platform/TestHost.h"

namespace {

namespace fs = std::filesystem;
using lumavex::PixelPlane;

platform::TestHost& Host() {
  static platform::TestHost host;
  return host;
}

platform::Allocator& Allocator() {
  static platform::Allocator allocator(Host(), [] { return platform::ReadMemoryStatus(); });
  return allocator;
}

fs::path BenchFile(const char* name) { return fs::temp_directory_path() / name; }

// A cel: white ground, flat fills and a few hundred anti-aliased lines.
const PixelPlane& CelPicture() {
  static PixelPlane plane = [] {
    constexpr int kW = 1600, kH = 1200;
    PixelPlane p;
    p.Create(Allocator(), kW, kH, 4);
    std::mt19937 random(11);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) p.At(x, y) = lumavex::kNewDisplayPixel;
    for (int i = 0; i < 40; ++i) {
      const int cx = random() % kW, cy = random() % kH, r = 30 + random() % 150;
      const uint32_t colour = (random() & lumavex::kColourMask) | lumavex::kDrawAreaFlag;
      for (int y = std::max(0, cy - r); y < std::min(kH, cy + r); ++y)
        for (int x = std::max(0, cx - r); x < std::min(kW, cx + r); ++x)
          if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r) p.At(x, y) = colour;
    }
    for (int i = 0; i < 300; ++i) {
      const double x0 = random() % kW, y0 = random() % kH;
      const double x1 = random() % kW, y1 = random() % kH;
      const double length = std::hypot(x1 - x0, y1 - y0) + 1e-9;
      const int steps = static_cast<int>(length * 2);
      for (int s = 0; s <= steps; ++s) {
        const double cx = x0 + (x1 - x0) * s / steps, cy = y0 + (y1 - y0) * s / steps;
        for (int y = int(cy) - 1; y <= int(cy) + 2; ++y)
          for (int x = int(cx) - 1; x <= int(cx) + 2; ++x) {
            if (x < 0 || y < 0 || x >= kW || y >= kH) continue;
            const double d = std::hypot(x - cx, y - cy);
            const uint32_t a = static_cast<uint32_t>(std::clamp(1.6 - d, 0.0, 1.0) * 255);
            uint32_t& v = p.At(x, y);
            v = lumavex::Blend(0x202020, a, v) | lumavex::kDrawAreaFlag;
          }
      }
    }
    return p;
  }();
  return plane;
}

struct MemorySink {
  std::vector<uint8_t> bytes;
  static bool Write(void* context, const void* data, size_t size) {
    auto* sink = static_cast<MemorySink*>(context);
    const auto* p = static_cast<const uint8_t*>(data);
    sink->bytes.insert(sink->bytes.end(), p, p + size);
    return true;
  }
};

void BM_PngSave(benchmark::State& state) {
  const PixelPlane& cel = CelPicture();
  MemorySink sink;
  for (auto _ : state) {
    sink.bytes.clear();
    lumavex::WritePng(cel, lumavex::PngColour::Rgb, {&sink, MemorySink::Write}, Host());
  }
  state.counters["bytes"] = double(sink.bytes.size());
}
BENCHMARK(BM_PngSave)->Unit(benchmark::kMillisecond);

void MinimalWrite(png_structp png, png_bytep data, size_t length) {
  MemorySink::Write(png_get_io_ptr(png), data, length);
}

// The same RGB rows, prepared beforehand, written with the same settings.
void BM_PngSaveMinimalLibpng(benchmark::State& state) {
  const PixelPlane& cel = CelPicture();
  const int w = cel.Width(), h = cel.Height();
  std::vector<uint8_t> rgb(size_t(w) * h * 3);
  std::vector<png_bytep> rows(h);
  for (int y = 0; y < h; ++y) {
    rows[y] = rgb.data() + size_t(y) * w * 3;
    for (int x = 0; x < w; ++x) {
      const uint32_t c = cel.At(x, y);
      rows[y][x * 3] = uint8_t(c >> 16), rows[y][x * 3 + 1] = uint8_t(c >> 8),
      rows[y][x * 3 + 2] = uint8_t(c);
    }
  }
  MemorySink sink;
  for (auto _ : state) {
    sink.bytes.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &sink, MinimalWrite, nullptr);
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
  }
  state.counters["bytes"] = double(sink.bytes.size());
}
BENCHMARK(BM_PngSaveMinimalLibpng)->Unit(benchmark::kMillisecond);

const fs::path& CelPngFile() {
  static fs::path path = [] {
    fs::path p = BenchFile("lumavex_bench_cel.png");
    std::FILE* file = std::fopen(p.c_str(), "wb");
    lumavex::WritePng(CelPicture(), lumavex::PngColour::Rgb, lumavex::FileByteSink(file), Host());
    std::fclose(file);
    return p;
  }();
  return path;
}

void BM_PngLoad(benchmark::State& state) {
  const fs::path& path = CelPngFile();
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    lumavex::DecodedPicture out;
    lumavex::LoadPng(file, Host(), Allocator(), {}, out);
    std::fclose(file);
    benchmark::DoNotOptimize(out.plane.Data());
  }
}
BENCHMARK(BM_PngLoad)->Unit(benchmark::kMillisecond);

// The same file read into plain RGB rows.
void BM_PngLoadMinimalLibpng(benchmark::State& state) {
  const fs::path& path = CelPngFile();
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    const int h = int(png_get_image_height(png, info));
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<uint8_t> pixels(rowBytes * h);
    std::vector<png_bytep> rows(h);
    for (int y = 0; y < h; ++y) rows[y] = pixels.data() + rowBytes * y;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_PngLoadMinimalLibpng)->Unit(benchmark::kMillisecond);

// Smooth noise: a few octaves of interpolated random values, like a photograph.
uint32_t PhotoPixel(const std::vector<float>& grid, int gridW, int x, int y, int cell) {
  const float fx = float(x % cell) / cell, fy = float(y % cell) / cell;
  const int gx = x / cell, gy = y / cell;
  auto at = [&](int i, int j) { return grid[size_t(j) * gridW + i]; };
  const float v = at(gx, gy) * (1 - fx) * (1 - fy) + at(gx + 1, gy) * fx * (1 - fy) +
                  at(gx, gy + 1) * (1 - fx) * fy + at(gx + 1, gy + 1) * fx * fy;
  return uint32_t(std::clamp(v, 0.0f, 255.0f));
}

const fs::path& PhotoJpegFile() {
  static fs::path path = [] {
    constexpr int kW = 4000, kH = 3000, kCell = 40;
    const int gridW = kW / kCell + 2, gridH = kH / kCell + 2;
    std::mt19937 random(3);
    std::vector<float> grids[3];
    for (auto& g : grids) {
      g.resize(size_t(gridW) * gridH);
      for (float& v : g) v = float(random() % 256);
    }
    fs::path p = BenchFile("lumavex_bench_photo.jpg");
    std::FILE* file = std::fopen(p.c_str(), "wb");
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kW;
    info.image_height = kH;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(kW * 3);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x)
        for (int c = 0; c < 3; ++c)
          row[x * 3 + c] = uint8_t(PhotoPixel(grids[c], gridW, x, y, kCell) ^ (random() & 7));
      JSAMPROW r = row.data();
      jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
    return p;
  }();
  return path;
}

void BM_JpegLoad(benchmark::State& state) {
  const fs::path& path = PhotoJpegFile();
  for (auto _ : state) {
    lumavex::DecodedPicture out;
    lumavex::LoadJpeg(path.string(), "photo.jpg", Host(), Allocator(), {}, out);
    benchmark::DoNotOptimize(out.plane.Data());
  }
}
BENCHMARK(BM_JpegLoad)->Unit(benchmark::kMillisecond);

// The same file decoded into one RGB buffer.
void BM_JpegLoadMinimalLibjpeg(benchmark::State& state) {
  const fs::path& path = PhotoJpegFile();
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    std::vector<uint8_t> pixels(size_t(info.output_width) * info.output_height * 3);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels.data() + size_t(info.output_scanline) * info.output_width * 3;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_JpegLoadMinimalLibjpeg)->Unit(benchmark::kMillisecond);

constexpr int kBigW = 6400, kBigH = 4800;

const std::vector<uint32_t>& BigPicture() {
  static std::vector<uint32_t> pixels = [] {
    std::vector<uint32_t> p(size_t(kBigW) * kBigH);
    std::mt19937 random(5);
    for (size_t i = 0; i < p.size(); ++i)
      p[i] = (uint32_t(i % kBigW) * 0x010203 + (random() & 0x0F0F0F)) | lumavex::kDrawAreaFlag;
    return p;
  }();
  return pixels;
}

void BM_Reduce6400To1600(benchmark::State& state) {
  const std::vector<uint32_t>& source = BigPicture();
  PixelPlane target;
  target.Create(Allocator(), kBigW / 4, kBigH / 4, 4);
  for (auto _ : state) {
    lumavex::ReducePicture([&](int y) { return source.data() + size_t(y) * kBigW; }, kBigW, kBigH,
                           target);
    benchmark::DoNotOptimize(target.Data());
  }
}
BENCHMARK(BM_Reduce6400To1600)->Unit(benchmark::kMillisecond);

// A plain 4 × 4 box average over the same source pixels.
void BM_BoxAverage6400To1600(benchmark::State& state) {
  const std::vector<uint32_t>& source = BigPicture();
  PixelPlane target;
  target.Create(Allocator(), kBigW / 4, kBigH / 4, 4);
  std::vector<uint32_t> sums(size_t(kBigW / 4) * 3);
  for (auto _ : state) {
    for (int ty = 0; ty < kBigH / 4; ++ty) {
      std::fill(sums.begin(), sums.end(), 0);
      for (int y = ty * 4; y < ty * 4 + 4; ++y) {
        const uint32_t* line = source.data() + size_t(y) * kBigW;
        for (int x = 0; x < kBigW; ++x) {
          uint32_t* s = &sums[size_t(x / 4) * 3];
          s[0] += line[x] & 0xFF;
          s[1] += (line[x] >> 8) & 0xFF;
          s[2] += (line[x] >> 16) & 0xFF;
        }
      }
      uint32_t* out = target.Row32(ty);
      for (int tx = 0; tx < kBigW / 4; ++tx) {
        const uint32_t* s = &sums[size_t(tx) * 3];
        out[tx] = (s[2] / 16) << 16 | (s[1] / 16) << 8 | s[0] / 16 | lumavex::kDrawAreaFlag;
      }
    }
    benchmark::DoNotOptimize(target.Data());
  }
}
BENCHMARK(BM_BoxAverage6400To1600)->Unit(benchmark::kMillisecond);

}  // namespace
