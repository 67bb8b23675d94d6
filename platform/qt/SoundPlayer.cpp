#include "platform/qt/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

namespace platform::qt {
namespace {

// The sink and the buffer it reads from live and die together.
class Playback : public QObject {
 public:
  Playback(const QAudioDevice& device, const QAudioFormat& format, const WavSound& sound,
           QObject* parent)
      : QObject(parent), sink_(new QAudioSink(device, format, this)) {
    buffer_.setData(reinterpret_cast<const char*>(sound.samples.data()),
                    static_cast<qsizetype>(sound.samples.size()));
    buffer_.open(QIODevice::ReadOnly);
    connect(sink_, &QAudioSink::stateChanged, this, &Playback::OnStateChanged);
  }

  // The sink goes first: it may still read from the buffer while it stops.
  ~Playback() override { delete sink_; }

  bool Start() {
    sink_->start(&buffer_);
    return sink_->error() == QAudio::NoError && sink_->state() != QAudio::StoppedState;
  }

 private:
  void OnStateChanged(QAudio::State state) {
    if (state == QAudio::IdleState) {
      sink_->stop();
    } else if (state == QAudio::StoppedState) {
      disconnect(sink_, nullptr, this, nullptr);
      deleteLater();
    }
  }

  QBuffer buffer_;
  QAudioSink* sink_;
};

QAudioFormat FormatOf(const WavSound& sound) {
  QAudioFormat format;
  format.setSampleRate(sound.sampleRate);
  format.setChannelCount(sound.channels);
  format.setSampleFormat(sound.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
  return format;
}

}  // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

bool SoundPlayer::Play(const WavSound& sound) {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return false;
  const QAudioFormat format = FormatOf(sound);
  if (!format.isValid() || !device.isFormatSupported(format)) return false;
  auto* playback = new Playback(device, format, sound, this);
  if (!playback->Start()) {
    delete playback;
    return false;
  }
  return true;
}

int SoundPlayer::Playing() const {
  return static_cast<int>(findChildren<QObject*>(QString(), Qt::FindDirectChildrenOnly).size());
}

}  // namespace platform::qt
