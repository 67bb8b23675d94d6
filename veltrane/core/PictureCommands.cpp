#include "veltrane/core/PictureCommands.h"

#include "veltrane/codec/VtzCompress.h"
#include "veltrane/codec/VtzExpand.h"
#include "veltrane/core/Messages.h"

namespace veltrane {

void CompressAllPictures(ToolContext& tool) {
  for (const std::string& name : ListOrEnd(tool, "VTZ")) MoveToRecycleBin(tool, name);
  for (const char* extension : {"bmp", "lmv"}) {
    const std::vector<std::string> names = ListOrEnd(tool, extension);
    tool.progress.ProgressStart(names.size());
    const CodecResult result =
        CompressPictures(tool.folder, names, tool.allocator, [&] { tool.progress.BeforeItem(); });
    tool.progress.ProgressEnd();
    if (!ReportCodecResult(tool, result)) return;
  }
  tool.host.ShowMessage(text::kCompressed, text::kCaptionCompressed);
}

void ExpandAllPictures(ToolContext& tool) {
  const std::vector<std::string> names = ListOrEnd(tool, "VTZ");
  tool.progress.ProgressStart(names.size());
  for (const std::string& name : names) {
    tool.progress.BeforeItem();
    if (!ReportCodecResult(tool, ExpandVtz(tool.folder, name, tool.allocator))) {
      tool.progress.ProgressEnd();
      return;
    }
  }
  tool.progress.ProgressEnd();
  tool.host.ShowMessage(text::kPicturesExpanded, text::kCaptionExpanded);
}

}  // namespace veltrane
