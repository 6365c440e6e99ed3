#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/recording.h"

namespace zendor {

// One scripted window message.
struct ScriptedKey {
  enum class Kind { Down, Up, Repeat };
  std::uint32_t time = 0;  // virtual milliseconds
  Kind kind = Kind::Down;
  int virtualKey = 0;
};

// A message box as the headless display "showed" it (and dismissed it at once).
struct ShownMessage {
  std::uint32_t time;
  std::string text;
  std::string title;
  int flags;
};

class HeadlessSoundDevice;
class HeadlessMusicPlayer;

// The deterministic back end: a virtual clock that only sleeps advance, scripted key events,
// and every effect kept for inspection.
class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform();
  ~HeadlessPlatform() override;

  // --- Set-up ---
  void SetScript(std::vector<ScriptedKey> events);
  // Plays a recorded game instead of a script: each key at the pump that saw it, each wait for
  // input ending at its recorded time, each clock reading as recorded. The generator's seed and
  // the display's modes are the recording's too.
  void SetRecording(Recording recording);
  // Where a replayed recording first went its own way (a key due at another time than recorded,
  // or a key never delivered); empty while it follows the recording.
  std::string RecordingDivergence() const;
  // The first pump at or after `time` ends the run with `reason` (ProgramExit).
  void StopAt(std::uint32_t time, std::string reason);
  void RefuseExclusiveModes(bool refuse) { refuseExclusive_ = refuse; }
  void FailSoundDevice(bool fail) { failSoundDevice_ = fail; }
  // Uses `folder` (made private) as the temporary folder instead of the user's own.
  void SetTempFolder(std::string folder) { tempFolder_ = std::move(folder); }
  void SetRealDesktop(int width, int height) { realWidth_ = width, realHeight_ = height; }
  // Called before the clock moves from `from` to `to` (snapshots hook in here).
  std::function<void(std::uint32_t from, std::uint32_t to)> onClockAdvance;
  // Called for every message box.
  std::function<void(const ShownMessage&)> onMessageBox;
  // Called whenever the program lets the window system run (sleeps, pumps, waits).
  std::function<void()> onIdle;
  // Sleep for real as well (watching a replay).
  void SetRealtime(bool realtime) { realtime_ = realtime; }

  // --- Inspection ---
  std::uint32_t now() const { return now_; }
  const std::vector<ShownMessage>& messages() const { return messages_; }
  int beeps() const { return beeps_; }
  std::size_t eventsDelivered() const { return recording_ ? nextInput_ : next_; }
  std::uint64_t pumps() const { return pumps_; }
  HeadlessSoundDevice* soundDevice() const { return sound_; }
  const std::string& readout() const { return readout_; }
  HeadlessMusicPlayer* musicPlayer() const { return music_; }

  // --- Platform ---
  std::uint32_t TickCount() override;
  std::uint32_t GameClock() const override { return now_; }
  double Timer() override { return now_ / 1000.0; }
  void Sleep(int ms) override;
  void PumpMessages(MessageHandler& handler) override;
  void WaitForMessage() override;
  void MessageBox(const std::string& text, const std::string& title, int flags) override;
  void Beep() override { ++beeps_; }
  void ShowReadout(const std::string& text) override { readout_ = text; }
  std::string TempPath(std::string* error) override;
  std::unique_ptr<SoundDevice> CreateSoundDevice() override;
  std::unique_ptr<MusicPlayer> CreateMusicPlayer() override;

 protected:
  bool SupportsExclusiveMode(int width, int height, int bitsPerPixel) const override;
  int RealDesktopWidth() const override { return realWidth_; }
  int RealDesktopHeight() const override { return realHeight_; }

 private:
  void AdvanceTo(std::uint32_t time);
  void PumpRecording(MessageHandler& handler, std::uint64_t pump);

  static constexpr int kMaxPumpsWithoutTime = 100000;
  std::uint32_t now_ = 0;
  std::uint32_t lastPumpTime_ = 0;
  int pumpsAtThisTime_ = 0;
  std::vector<ScriptedKey> script_;
  std::size_t next_ = 0;
  std::optional<Recording> recording_;
  std::size_t nextInput_ = 0, nextWait_ = 0, nextClockRead_ = 0;
  std::uint64_t pumps_ = 0;
  std::string divergence_;
  std::optional<std::uint32_t> stopTime_;
  std::string stopReason_;
  bool refuseExclusive_ = false;
  bool failSoundDevice_ = false;
  bool realtime_ = false;
  std::string tempFolder_;
  int realWidth_ = 1920, realHeight_ = 1080;
  std::vector<ShownMessage> messages_;
  int beeps_ = 0;
  std::string readout_;
  HeadlessSoundDevice* sound_ = nullptr;  // owned by the game once created
  HeadlessMusicPlayer* music_ = nullptr;
};

}  // namespace zendor
