#pragma once
// The tool's menu commands. Logic names these constants, never bare numbers.

namespace veltrane::cmd {

constexpr int kCompressPictures = 40009;  // all *.bmp and *.lmv into *.VTZ
constexpr int kArchiveAll = 40008;        // all *.VTZ and *.wav into one *.zip each
constexpr int kExtractArchives = 40007;   // all *.zip into the working folder
constexpr int kExpandPictures = 40004;    // all *.VTZ back into *.bmp and *.lmv
constexpr int kHelp = 40003;
constexpr int kQuit = 40002;

}  // namespace veltrane::cmd
