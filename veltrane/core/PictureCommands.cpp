#include "veltrane/core/PictureCommands.h"

#include "veltrane/codec/VtzCompress.h"
#include "veltrane/codec/VtzExpand.h"
#include "veltrane/core/Messages.h"
#include "veltrane/core/ResultLine.h"

namespace veltrane {

std::string CompressAllPictures(ToolContext& tool) {
  for (const std::string& name : ListOrEnd(tool, "VTZ")) MoveToRecycleBin(tool, name);
  size_t pictures = 0;
  for (const char* extension : {"bmp", "lmv"}) {
    const std::vector<std::string> names = ListOrEnd(tool, extension);
    tool.progress.ProgressStart(names.size());
    const CodecResult result =
        CompressPictures(tool.folder, names, tool.allocator, [&] { tool.progress.BeforeItem(); });
    tool.progress.ProgressEnd();
    if (!ReportCodecResult(tool, result)) return result::Stopped("compression");
    pictures += names.size();
  }
  tool.host.ShowMessage(text::kCompressed, text::kCaptionCompressed);
  return result::Compressed(pictures, ListOrEnd(tool, "VTZ").size());
}

std::string ExpandAllPictures(ToolContext& tool) {
  const std::vector<std::string> names = ListOrEnd(tool, "VTZ");
  tool.progress.ProgressStart(names.size());
  for (const std::string& name : names) {
    tool.progress.BeforeItem();
    if (!ReportCodecResult(tool, ExpandVtz(tool.folder, name, tool.allocator))) {
      tool.progress.ProgressEnd();
      return result::Stopped("expansion");
    }
  }
  tool.progress.ProgressEnd();
  tool.host.ShowMessage(text::kPicturesExpanded, text::kCaptionExpanded);
  return result::Expanded(names.size());
}

}  // namespace veltrane
