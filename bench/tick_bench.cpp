// Cost of the program sitting in the tray: start-up to the tray, one 200 ms source poll and
// one 300 ms Filter page tick, on the headless build. Run under callgrind (bench/run_bench.sh)
// for deterministic instruction counts: each measured stretch is a function of its own, so
// --toggle-collect can count it alone.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "res/resource.h"
#include "shell/control_panel_app.h"
#include "shell/control_panel_dlg.h"
#include "testing/simulated_machine.h"

namespace {

using korven::testing::SimulatedMachine;

constexpr int kTicks = 1000;

// One run of the program: start-up to the tray (settings pushed), then whatever the modal
// driver does. With "startup" the driver exits at once: start-up and exit alone.
__attribute__((noinline)) void RunProgram(korven::CControlPanelApp& app) {
  app.Run();
}

// kTicks source polls at 200 ms with the settings hidden: the tray's steady state. The Filter
// page's 300 ms display runs beside it, as it does in the tray.
__attribute__((noinline)) void TrayPollTicks(SimulatedMachine& m) {
  for (int i = 0; i < kTicks; ++i) m.windows.Advance(200);
}

// kTicks Filter page display ticks at 300 ms, the tray poll stopped: the page alone.
__attribute__((noinline)) void FilterPageTicks(SimulatedMachine& m) {
  for (int i = 0; i < kTicks; ++i) m.windows.Advance(300);
}

}  // namespace

int main(int argc, char** argv) {
  const bool startUpOnly = argc > 1 && std::string_view(argv[1]) == "startup";
  SimulatedMachine m;
  m.PlugKorven();
  m.korven.SetSourceChannels(0, 1);
  korven::CControlPanelApp app(m.windows, m.platform);
  bool measured = false;
  m.windows.SetModalDriver([&](fw::Hwnd) {
    m.windows.PumpMessages();
    korven::CControlPanelDlg* panel = app.ControlPanel();
    if (startUpOnly) {
      m.windows.AnswerPopupMenu(fw::headless::MenuPick::Command(ID_TRAY_EXIT));
      panel->SendMessage(WM_TRAY_NOTIFY, panel->TrayIcon().Record().uID, fw::wm::kRButtonDown);
      m.windows.PumpMessages();
      measured = true;
      return;
    }
    m.windows.Advance(1000);  // settle: first paints, first polls
    m.korven.ClearRequests();
    TrayPollTicks(m);
    const auto& requests = m.korven.Requests();
    std::printf("tray: %zu requests in %d x 200 ms\n", requests.size(), kTicks);
    // The tray poll off (as during a speaker test), the Filter page's display alone.
    panel->KillTimer(IDT_SOURCE_POLL);
    m.korven.ClearRequests();
    FilterPageTicks(m);
    std::printf("filter page: %zu requests in %d x 300 ms\n", m.korven.Requests().size(), kTicks);
    m.windows.AnswerPopupMenu(fw::headless::MenuPick::Command(ID_TRAY_EXIT));
    panel->SendMessage(WM_TRAY_NOTIFY, panel->TrayIcon().Record().uID, fw::wm::kRButtonDown);
    m.windows.PumpMessages();
    measured = true;
  });
  RunProgram(app);
  return measured ? 0 : 1;
}
