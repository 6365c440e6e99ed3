#include "platform/headless/headless_audio.h"

#include <algorithm>

#include "platform/midi_sequence.h"
#include "platform/wav_file.h"
#include "platform/whole_file.h"

namespace zendor {
namespace {

constexpr int kMidiCheckRate = 44100;

}  // namespace

SoundDevice::Buffer HeadlessSoundDevice::Load(const std::string& wavPath, std::string* error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(wavPath, bytes, kLargestGameFile, error)) return -1;
  const auto sound = ParseWav(bytes, error);
  if (!sound) return -1;
  BufferState state;
  state.path = wavPath;
  state.bytes = static_cast<std::uint32_t>(sound->data.size());
  buffers_.push_back(state);
  return static_cast<Buffer>(buffers_.size() - 1);
}

SoundDevice::Buffer HeadlessSoundDevice::Duplicate(Buffer original) {
  const BufferState* source = find(original);
  if (!source) return -1;
  BufferState copy;
  copy.path = source->path;
  copy.bytes = source->bytes;
  copy.source = original;
  buffers_.push_back(copy);
  return static_cast<Buffer>(buffers_.size() - 1);
}

void HeadlessSoundDevice::Play(Buffer buffer, bool loop) {
  if (BufferState* b = find(buffer)) {
    if (!b->playing) ++b->plays;
    b->playing = true;
    b->looping = loop;
  }
}

void HeadlessSoundDevice::Stop(Buffer buffer) {
  if (BufferState* b = find(buffer)) b->playing = false;
}

void HeadlessSoundDevice::SetPosition(Buffer buffer, std::uint32_t bytes) {
  if (BufferState* b = find(buffer)) b->position = std::min(bytes, b->bytes);
}

void HeadlessSoundDevice::SetVolume(Buffer buffer, int v) {
  if (BufferState* b = find(buffer)) b->volume = std::clamp(v, SoundDevice::kSilent, 0);
}

void HeadlessSoundDevice::SetPan(Buffer buffer, int v) {
  if (BufferState* b = find(buffer))
    b->pan = std::clamp(v, SoundDevice::kLeftOnly, SoundDevice::kRightOnly);
}

void HeadlessSoundDevice::SetFrequency(Buffer buffer, int hz) {
  if (BufferState* b = find(buffer)) b->frequency = hz;
}

bool HeadlessSoundDevice::IsPlaying(Buffer buffer) const {
  const BufferState* b = state(buffer);
  return b && b->playing;
}

int HeadlessSoundDevice::Volume(Buffer buffer) const {
  const BufferState* b = state(buffer);
  return b ? b->volume : SoundDevice::kSilent;
}

const HeadlessSoundDevice::BufferState* HeadlessSoundDevice::state(Buffer buffer) const {
  if (buffer < 0 || static_cast<std::size_t>(buffer) >= buffers_.size()) return nullptr;
  return &buffers_[static_cast<std::size_t>(buffer)];
}

HeadlessSoundDevice::BufferState* HeadlessSoundDevice::find(Buffer buffer) {
  return const_cast<BufferState*>(state(buffer));
}

MusicPlayer::Segment HeadlessMusicPlayer::Load(const std::string& midiPath, std::string* error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(midiPath, bytes, kLargestGameFile, error)) return -1;
  // Read as the real player reads it, so that a theme it cannot play is refused here too.
  if (!ParseMidi(bytes, kMidiCheckRate, error)) return -1;
  segments_.push_back({midiPath, 0, false});
  return static_cast<Segment>(segments_.size() - 1);
}

void HeadlessMusicPlayer::SetRepeats(Segment s, int repeats) {
  if (segment(s)) segments_[static_cast<std::size_t>(s)].repeats = repeats;
}

void HeadlessMusicPlayer::SetLoop(Segment s, bool loop) {
  if (segment(s)) segments_[static_cast<std::size_t>(s)].loop = loop;
}

MusicPlayer::Instance HeadlessMusicPlayer::Play(Segment s, int) {
  if (!segment(s)) return -1;
  playingSegment_ = s;
  playingInstance_ = nextInstance_++;
  return playingInstance_;
}

void HeadlessMusicPlayer::Stop(Segment s, Instance instance) {
  if (s == playingSegment_ && instance == playingInstance_ && instance >= 0) {
    playingSegment_ = -1;
    playingInstance_ = -1;
  }
}

const HeadlessMusicPlayer::SegmentState* HeadlessMusicPlayer::segment(Segment s) const {
  if (s < 0 || static_cast<std::size_t>(s) >= segments_.size()) return nullptr;
  return &segments_[static_cast<std::size_t>(s)];
}

}  // namespace zendor
