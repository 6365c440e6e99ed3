#include "platform/sdl/sdl_presenter.h"
#include "replay/snapshots.h"

namespace zendor::replay {
namespace {

// Mirrors the headless game window in a real SDL window as the replay runs in real time.
class SdlRealtimeView : public RealtimeView {
 public:
  SdlRealtimeView(std::unique_ptr<SdlPresenter> presenter, Platform& platform)
      : presenter_(std::move(presenter)), platform_(platform) {}
  void Show() override {
    presenter_->PumpWindowEvents();
    presenter_->Present(platform_.window(), platform_.display());
  }

 private:
  std::unique_ptr<SdlPresenter> presenter_;
  Platform& platform_;
};

}  // namespace

std::unique_ptr<RealtimeView> MakeRealtimeView(Platform& platform) {
  auto presenter = SdlPresenter::Create("ZENDOR VOSTRIK XXI (replay)");
  if (!presenter) return nullptr;
  return std::make_unique<SdlRealtimeView>(std::move(presenter), platform);
}

}  // namespace zendor::replay
