#include "lumavex/files/PictureLoad.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/WideVectors.h"
#include "lumavex/canvas/PixelRules.h"
#include "lumavex/files/BmpRead.h"
#include "lumavex/files/Jpeg.h"
#include "lumavex/files/NativeFile.h"
#include "lumavex/files/PictureFileChecks.h"
#include "lumavex/files/PictureInput.h"
#include "lumavex/files/Png.h"
#include "lumavex/files/Reduction.h"

namespace lumavex {
namespace {

constexpr size_t kStreamBuffer = 32766;

enum class Reader { Unknown, Native, Bmp, Png, Jpeg };

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

bool EqualsIgnoringCase(const std::string& a, const char* b) {
  const size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  return true;
}

Reader ReaderFor(const std::string& extension) {
  if (EqualsIgnoringCase(extension, ".lmv")) return Reader::Native;
  if (EqualsIgnoringCase(extension, ".bmp")) return Reader::Bmp;
  if (EqualsIgnoringCase(extension, ".png")) return Reader::Png;
  if (EqualsIgnoringCase(extension, ".jpg")) return Reader::Jpeg;
  return Reader::Unknown;
}

// Opens `path` for reading after the file checks; null when it cannot be read. A
// name without an extension fails without a message.
FileHandle OpenPicture(const LoadServices& s, const std::string& path,
                       const std::string& shownName, Reader& reader, uint64_t& length) {
  if (!CheckFileForLoad(s.host, path, true)) return nullptr;
  FileHandle file(std::fopen(path.c_str(), "rb"));
  struct stat status;
  if (!file || std::setvbuf(file.get(), nullptr, _IOFBF, kStreamBuffer) != 0 ||
      ::fstat(::fileno(file.get()), &status) != 0) {
    s.host.ShowMessage("ファイルオープン不可: " + shownName, "エラー",
                       platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    return nullptr;
  }
  length = static_cast<uint64_t>(status.st_size);
  const std::string extension = PictureExtension(path);
  if (extension.empty()) return nullptr;
  reader = ReaderFor(extension);
  if (reader == Reader::Unknown) {
    s.host.ShowMessage("True Color のビットマップまたは LMV ではありません。", "ロード不可",
                       platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    return nullptr;
  }
  return file;
}

// Checks that a BMP picture can enter at its own size.
bool SameSizeAcceptable(const LoadServices& s, int width, int height) {
  if (width > kMaxPictureSide || height > kMaxPictureSide) {
    s.host.ShowMessage("幅と高さは３００００以下でなければなりません。", "ロード不可",
                       platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
    return false;
  }
  return ConfirmPictureArea(s.host, s.allocator.Status(), width, height);
}

// Fills a frame plane with the land checker of a drawing area without frames.
void FillLandBackdrop(PixelPlane& frame) {
  const int width = frame.Width();
  std::vector<uint32_t> rows[2] = {std::vector<uint32_t>(width), std::vector<uint32_t>(width)};
  for (int parity = 0; parity < 2; ++parity)
    for (int x = 0; x < width; ++x)
      rows[parity][x] = BackdropColour(x, parity * 8, true, false);
  for (int y = 0; y < frame.Height(); ++y)
    std::memcpy(frame.Row(y), rows[(y >> 3) & 1].data(), frame.RowBytes());
}

// The canvas conversion of one stored line's frame row, in place, without branches
// so that it vectorises: the backdrop is land or water by the draw-area flag, the
// odd checker cells add 0x40 to its two non-zero channels, and non-selected
// positions add 128 to every channel. The display row is kept as stored.
LUMAVEX_WIDE_VECTORS
void ConvertFrameLine(int y, int width, const uint32_t* display, uint32_t* frame) {
  constexpr uint32_t kLandOddStep = kLandOdd ^ kLandEven;
  constexpr uint32_t kWaterOddStep = kWaterOdd ^ kWaterEven;
  const uint32_t rowParity = static_cast<uint32_t>(y >> 3) & 1;
  for (int x = 0; x < width; ++x) {
    const uint32_t d = display[x];
    const uint32_t f = frame[x];
    const uint32_t drawArea = 0u - ((d >> 25) & 1);
    const uint32_t nonSelected = 0u - ((d >> 24) & 1);
    const uint32_t oddCell = 0u - (((static_cast<uint32_t>(x) >> 3) & 1) ^ rowParity);
    const uint32_t backdrop = ((kLandEven & drawArea) | (kWaterEven & ~drawArea)) ^
                              (((kLandOddStep & drawArea) | (kWaterOddStep & ~drawArea)) & oddCell) ^
                              (0x00808080u & nonSelected);
    const uint32_t keep = drawArea & (0u - static_cast<uint32_t>((f >> 24) != 0));
    frame[x] = (f & keep) | (backdrop & ~keep);
  }
}

// Undoes the non-selected marking of one stored line, in place.
void UnmarkLine(int width, uint32_t* display, uint32_t* frame) {
  for (int x = 0; x < width; ++x) Select(display[x], frame[x]);
}

// Repeats the edge pixels of the picture at (1, 1) into the one-pixel border.
void RepeatEdges(PixelPlane& plane) {
  const int w = plane.Width();
  const int h = plane.Height();
  for (int y = 1; y < h - 1; ++y) {
    uint32_t* row = plane.Row32(y);
    row[0] = row[1];
    row[w - 1] = row[w - 2];
  }
  std::memcpy(plane.Row(0), plane.Row(1), plane.RowBytes());
  std::memcpy(plane.Row(h - 1), plane.Row(h - 2), plane.RowBytes());
}

bool CreatePlanes(const LoadServices& s, int width, int height,
                  std::initializer_list<PixelPlane*> planes) {
  for (PixelPlane* p : planes)
    if (!p->Create(s.allocator, width, height, 4)) return false;
  return true;
}

// Decodes a PNG or JPEG picture at its own size into `out`.
bool DecodePicture(const LoadServices& s, std::FILE* file, const std::string& path,
                   const std::string& shownName, Reader reader, DecodedPicture& out,
                   DecodeSizeCheck check = {}) {
  if (!check) check = [&](int w, int h) { return SameSizeAcceptable(s, w, h); };
  return reader == Reader::Png ? LoadPng(file, s.host, s.allocator, check, out, shownName)
                               : LoadJpeg(path, shownName, s.host, s.allocator, check, out);
}

// The picture a policy asks for. An enlargement keeps the picture's own size, and so
// does a reduction that would make a side of a one-pixel picture larger.
LoadSizePlan PlanFor(const LoadSizing& sizing, int width, int height) {
  LoadSizePlan plan = PlanLoadSize(sizing.policy, {width, height}, sizing.view, sizing.given);
  if (plan.resize == LoadResize::Enlarge || plan.target.width > width ||
      plan.target.height > height)
    plan = {LoadResize::None, {width, height}};
  return plan;
}

void ShowReducing(const LoadSizing& sizing) {
  if (sizing.showStatus) sizing.showStatus(kReducingStatus);
}

// A canvas whose display layer holds the picture: the frame layer becomes the land
// backdrop, the work layer empty, and the headers describe the new size.
void FinishPictureLayers(Canvas& canvas) {
  FillLandBackdrop(canvas.frame);
  ClearWorkLayer(canvas);
  canvas.pictureHeader = MakePictureHeader(canvas.Width(), canvas.Height());
  canvas.fileHeader = MakeFileHeader(canvas.Width(), canvas.Height());
}

// A decoded picture becomes the canvas: its words are the display layer as they are,
// or reduced to `plan`'s target.
bool DecodedIntoCanvas(const LoadServices& s, DecodedPicture& decoded, const LoadSizePlan& plan,
                       const LoadSizing& sizing, Canvas& canvas) {
  canvas.Release();
  if (plan.resize == LoadResize::Reduce) {
    ShowReducing(sizing);
    if (!CreatePlanes(s, plan.target.width, plan.target.height,
                      {&canvas.display, &canvas.frame, &canvas.work}))
      return false;
    const PixelPlane& source = decoded.plane;
    if (!ReducePicture([&](int y) { return source.Row32(y); }, source.Width(), source.Height(),
                       canvas.display))
      return false;
    decoded.plane.Release();
  } else {
    canvas.display = std::move(decoded.plane);
    if (!CreatePlanes(s, canvas.display.Width(), canvas.display.Height(),
                      {&canvas.frame, &canvas.work}))
      return false;
  }
  FinishPictureLayers(canvas);
  return true;
}

// A decoded picture as a paste source, with the border of the bordered variant.
bool DecodedIntoPaste(const LoadServices& s, DecodedPicture& decoded, PasteVariant variant,
                      PixelPlane& display, PixelPlane& frame) {
  const int w = decoded.plane.Width(), h = decoded.plane.Height();
  if (variant != PasteVariant::Bordered) {
    display = std::move(decoded.plane);
    if (!CreatePlanes(s, w, h, {&frame})) return false;
    FillLandBackdrop(frame);
    return true;
  }
  frame.Release();
  if (!CreatePlanes(s, w + 2, h + 2, {&display})) return false;
  for (int y = 0; y < h; ++y)
    std::memcpy(display.Row32(y + 1) + 1, decoded.plane.Row32(y), decoded.plane.RowBytes());
  RepeatEdges(display);
  return true;
}

bool ReadIntoCanvas(const LoadServices& s, PictureInput& input, Reader reader,
                    const LoadSizing& sizing, Canvas& canvas) {
  int width = 0;
  // Layers of the picture's size are written over in place; others give way first,
  // so that two pictures are never held at once.
  auto create = [&](int w, int h) {
    width = w;
    if (canvas.HasPicture() && canvas.Width() == w && canvas.Height() == h &&
        !canvas.work.Empty())
      return true;
    canvas.Release();
    return CreatePlanes(s, w, h, {&canvas.display, &canvas.frame, &canvas.work});
  };
  if (reader == Reader::Native) {
    const auto rowsFor = [&](int y) {
      return NativeRows{canvas.display.Row32(y), canvas.frame.Row32(y)};
    };
    const auto convert = [&](int y, uint32_t* d, uint32_t* f) { ConvertFrameLine(y, width, d, f); };
    if (!ReadNativePicture(input, create, rowsFor, convert)) return false;
    ClearWorkLayer(canvas);
    canvas.pictureHeader = MakePictureHeader(canvas.Width(), canvas.Height());
    canvas.fileHeader = MakeFileHeader(canvas.Width(), canvas.Height());
    return true;
  }
  // A reduced BMP is decoded a line at a time into `line`, which is handed to the
  // reduction when the reader asks for the next line's room, and after the last.
  Reduction reduction;
  std::vector<uint32_t> line;
  bool reducing = false;
  bool lineHeld = false;
  auto prepare = [&](int w, int h) {
    const LoadSizePlan plan = PlanFor(sizing, w, h);
    if (!SameSizeAcceptable(s, plan.target.width, plan.target.height) ||
        !create(plan.target.width, plan.target.height))
      return false;
    if (plan.resize != LoadResize::Reduce) return true;
    ShowReducing(sizing);
    reducing = true;
    line.assign(static_cast<size_t>(w), 0);
    return reduction.Start(w, h, canvas.display);
  };
  auto rowFor = [&](int y) -> uint32_t* {
    if (!reducing) return canvas.display.Row32(y);
    if (lineHeld) reduction.AddLine(line.data());
    lineHeld = true;
    return line.data();
  };
  if (!ReadBmpPicture(input, prepare, rowFor)) return false;
  if (reducing) {
    if (lineHeld) reduction.AddLine(line.data());
    reduction.Finish();
  }
  FinishPictureLayers(canvas);
  return true;
}

bool ReadNativePaste(const LoadServices& s, PictureInput& input, PasteVariant variant,
                     PixelPlane& display, PixelPlane& frame) {
  const int border = variant == PasteVariant::Bordered ? 1 : 0;
  int width = 0;
  auto prepare = [&](int w, int h) {
    width = w;
    if (!CreatePlanes(s, w + 2 * border, h + 2 * border, {&display, &frame})) return false;
    if (border) {
      std::memset(display.Data(), 0, display.SizeBytes());
      std::memset(frame.Data(), 0, frame.SizeBytes());
    }
    return true;
  };
  const auto rowsFor = [&](int y) {
    return NativeRows{display.Row32(y + border) + border, frame.Row32(y + border) + border};
  };
  return ReadNativePicture(input, prepare, rowsFor, [&](int y, uint32_t* d, uint32_t* f) {
    if (variant == PasteVariant::SameSize) ConvertFrameLine(y, width, d, f);
    else UnmarkLine(width, d, f);
  });
}

bool ReadBmpPaste(const LoadServices& s, PictureInput& input, PasteVariant variant,
                  PixelPlane& display, PixelPlane& frame) {
  const int border = variant == PasteVariant::Bordered ? 1 : 0;
  auto prepare = [&](int w, int h) {
    if (!SameSizeAcceptable(s, w, h)) return false;
    if (border) {
      frame.Release();
      return CreatePlanes(s, w + 2, h + 2, {&display});
    }
    return CreatePlanes(s, w, h, {&display, &frame});
  };
  if (!ReadBmpPicture(input, prepare, [&](int y) { return display.Row32(y + border) + border; }))
    return false;
  if (border) RepeatEdges(display);
  else FillLandBackdrop(frame);
  return true;
}

}  // namespace

std::string PictureExtension(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  return name.substr(dot);
}

bool LoadSizeApplies(const std::string& name) {
  const Reader reader = ReaderFor(PictureExtension(name));
  return reader == Reader::Bmp || reader == Reader::Png || reader == Reader::Jpeg;
}

bool LoadCanvasPicture(const LoadServices& services, const std::string& path,
                       const std::string& shownName, Canvas& canvas, const LoadSizing& sizing) {
  Reader reader = Reader::Unknown;
  uint64_t length = 0;
  FileHandle file = OpenPicture(services, path, shownName, reader, length);
  if (!file) return false;
  if (reader == Reader::Png || reader == Reader::Jpeg) {
    DecodedPicture decoded;
    LoadSizePlan plan;
    const DecodeSizeCheck check = [&](int w, int h) {
      plan = PlanFor(sizing, w, h);
      return SameSizeAcceptable(services, plan.target.width, plan.target.height);
    };
    if (DecodePicture(services, file.get(), path, shownName, reader, decoded, check) &&
        DecodedIntoCanvas(services, decoded, plan, sizing, canvas))
      return true;
    canvas.Release();
    return false;
  }
  PictureInput input{services.host, services.allocator, file.get(), length, shownName};
  if (ReadIntoCanvas(services, input, reader, sizing, canvas)) return true;
  canvas.Release();
  return false;
}

bool LoadPastePicture(const LoadServices& services, const std::string& path,
                      const std::string& shownName, PasteVariant variant, PixelPlane& display,
                      PixelPlane& frame) {
  Reader reader = Reader::Unknown;
  uint64_t length = 0;
  FileHandle file = OpenPicture(services, path, shownName, reader, length);
  bool loaded = false;
  if (file && (reader == Reader::Png || reader == Reader::Jpeg)) {
    DecodedPicture decoded;
    loaded = DecodePicture(services, file.get(), path, shownName, reader, decoded) &&
             DecodedIntoPaste(services, decoded, variant, display, frame);
  } else if (file) {
    PictureInput input{services.host, services.allocator, file.get(), length, shownName};
    loaded = reader == Reader::Native ? ReadNativePaste(services, input, variant, display, frame)
                                      : ReadBmpPaste(services, input, variant, display, frame);
  }
  if (!loaded) {
    display.Release();
    frame.Release();
  }
  return loaded;
}

}  // namespace lumavex
