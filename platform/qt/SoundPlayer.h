#pragma once
// Asynchronous playback of checked PCM sounds on the default audio output.

#include <QObject>

#include "platform/WavFile.h"

namespace platform::qt {

class SoundPlayer : public QObject {
 public:
  explicit SoundPlayer(QObject* parent = nullptr);

  // Starts `sound` and returns at once. False when there is no output device, the
  // device cannot take the sound's format, or the output fails as it starts. Each
  // sound's sink and buffer are deleted when it has played out or failed later.
  bool Play(const WavSound& sound);

  // Sounds started and not yet finished.
  int Playing() const;
};

}  // namespace platform::qt
