#include "lumavex/shell/FeedbackSound.h"

#include <filesystem>

#include "platform/WavFile.h"

namespace lumavex {

void FeedbackSound::PlayFeedbackSound(const std::string& fileName) {
  const std::string path = resourceDirectory_ + "/" + fileName;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    platform::Fatal(host_, path, "wav ファイルなし。", 0, platform::MessageIcon::Exclamation);

  const auto sound = platform::ReadWav(path);
  const bool played = sound && host_.PlaySound(*sound);
  if (!played && enabled_) {
    enabled_ = false;
    host_.ShowMessage("他のメディアがWave音源を使用しているので、音無しで実行します。", "音無し実行",
                      platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
  }
}

void FeedbackSound::PlayRandomFeedbackSound(const std::string& family) {
  const int which = random_.Next() >> 12;
  PlayFeedbackSound(family + std::to_string(which) + ".wav");
}

}  // namespace lumavex
