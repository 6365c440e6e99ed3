#include "platform/headless/headless_platform.h"

#include <chrono>
#include <cstdio>
#include <limits>
#include <thread>

#include "platform/headless/headless_audio.h"
#include "platform/temp_folder.h"

namespace zendor {

HeadlessPlatform::HeadlessPlatform() = default;
HeadlessPlatform::~HeadlessPlatform() = default;

void HeadlessPlatform::SetScript(std::vector<ScriptedKey> events) {
  script_ = std::move(events);
  next_ = 0;
}

void HeadlessPlatform::SetRecording(Recording recording) {
  random().FixSeed(recording.seed);
  refuseExclusive_ = !recording.exclusiveModes;
  recording_ = std::move(recording);
  nextInput_ = nextWait_ = nextClockRead_ = 0;
}

std::uint32_t HeadlessPlatform::TickCount() {
  if (recording_ && nextClockRead_ < recording_->clockReads.size()) {
    return recording_->clockReads[nextClockRead_++];
  }
  return now_;
}

void HeadlessPlatform::StopAt(std::uint32_t time, std::string reason) {
  stopTime_ = time;
  stopReason_ = std::move(reason);
}

void HeadlessPlatform::AdvanceTo(std::uint32_t time) {
  if (time <= now_) return;
  if (onClockAdvance) onClockAdvance(now_, time);
  if (realtime_) std::this_thread::sleep_for(std::chrono::milliseconds(time - now_));
  now_ = time;
}

void HeadlessPlatform::Sleep(int ms) {
  if (onIdle) onIdle();
  if (ms > 0) AdvanceTo(now_ + static_cast<std::uint32_t>(ms));
}

void HeadlessPlatform::PumpMessages(MessageHandler& handler) {
  const std::uint64_t pump = ++pumps_;
  if (onIdle) onIdle();
  if (stopTime_ && now_ >= *stopTime_) throw ProgramExit{stopReason_};
  if (recording_) {
    PumpRecording(handler, pump);
    return;
  }
  // A program that pumps for ever without sleeping (a frame delay of 0) never lets virtual time
  // reach the next event: end the run instead of spinning.
  if (now_ != lastPumpTime_) {
    lastPumpTime_ = now_;
    pumpsAtThisTime_ = 0;
  } else if (++pumpsAtThisTime_ > kMaxPumpsWithoutTime &&
             (next_ >= script_.size() || script_[next_].time > now_)) {
    std::fprintf(stderr,
                 "zendor-replay: virtual time stands still at %u ms (a frame delay of 0?)\n", now_);
    throw ProgramExit{"error"};
  }
  // Events that fall due while a handler runs are delivered by this same pump.
  while (next_ < script_.size() && script_[next_].time <= now_) {
    const ScriptedKey event = script_[next_++];
    if (event.kind == ScriptedKey::Kind::Up) {
      RecordKeyUp(event.virtualKey);
      handler.OnKeyUp(event.virtualKey);
    } else {
      RecordKeyDown(event.virtualKey);
      handler.OnKeyDown(event.virtualKey);
    }
  }
}

void HeadlessPlatform::PumpRecording(MessageHandler& handler, std::uint64_t pump) {
  if (recording_->endPump && pump > *recording_->endPump) throw ProgramExit{"recording-end"};
  // Each input goes to the pump that delivered it, also when that pump goes on delivering after
  // a handler that pumped on its own has returned.
  const std::vector<RecordedInput>& inputs = recording_->inputs;
  while (nextInput_ < inputs.size() && inputs[nextInput_].pump == pump) {
    const RecordedInput input = inputs[nextInput_++];
    if (divergence_.empty() && input.time != now_) {
      divergence_ = "the key recorded at pump " + std::to_string(input.pump) + ", " +
                    std::to_string(input.time) + " ms came at " + std::to_string(now_) + " ms";
    }
    switch (input.kind) {
      case RecordedInput::Kind::Close:
        handler.OnCloseRequest();
        break;
      case RecordedInput::Kind::Up:
        RecordKeyUp(input.virtualKey);
        handler.OnKeyUp(input.virtualKey);
        break;
      default:
        RecordKeyDown(input.virtualKey);
        handler.OnKeyDown(input.virtualKey);
        break;
    }
  }
}

std::string HeadlessPlatform::RecordingDivergence() const {
  if (!divergence_.empty() || !recording_ || nextInput_ >= recording_->inputs.size()) {
    return divergence_;
  }
  const RecordedInput& input = recording_->inputs[nextInput_];
  return "the key recorded at pump " + std::to_string(input.pump) + ", " +
         std::to_string(input.time) + " ms was never delivered";
}

void HeadlessPlatform::WaitForMessage() {
  if (onIdle) onIdle();
  if (recording_) {
    if (nextWait_ >= recording_->waits.size()) throw ProgramExit{"recording-end"};
    const std::uint32_t until = recording_->waits[nextWait_++];
    if (stopTime_ && *stopTime_ < until) {
      AdvanceTo(*stopTime_);
    } else {
      AdvanceTo(until);
    }
    return;
  }
  if (next_ < script_.size() && script_[next_].time <= now_) return;
  std::uint32_t target =
      next_ < script_.size() ? script_[next_].time : std::numeric_limits<std::uint32_t>::max();
  if (stopTime_ && *stopTime_ < target) target = *stopTime_;
  if (target == std::numeric_limits<std::uint32_t>::max()) throw ProgramExit{"script-end"};
  AdvanceTo(target);
}

void HeadlessPlatform::MessageBox(const std::string& text, const std::string& title, int flags) {
  messages_.push_back({now_, text, title, flags});
  if (onMessageBox) onMessageBox(messages_.back());
}

std::string HeadlessPlatform::TempPath(std::string* error) {
  if (tempFolder_.empty()) return Platform::TempPath(error);
  std::string folder = AbsoluteFolder(tempFolder_, error);
  if (folder.empty()) return {};
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!PreparePrivateFolder(folder, error)) return {};
  return folder + "/";
}

std::unique_ptr<SoundDevice> HeadlessPlatform::CreateSoundDevice() {
  if (failSoundDevice_) return nullptr;
  auto device = std::make_unique<HeadlessSoundDevice>();
  sound_ = device.get();
  return device;
}

std::unique_ptr<MusicPlayer> HeadlessPlatform::CreateMusicPlayer() {
  auto player = std::make_unique<HeadlessMusicPlayer>();
  music_ = player.get();
  return player;
}

bool HeadlessPlatform::SupportsExclusiveMode(int width, int height, int bits) const {
  return !refuseExclusive_ && width == 320 && height == 200 && (bits == 24 || bits == 16);
}

}  // namespace zendor
