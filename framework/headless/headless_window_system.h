// An in-memory window system for tests: a tree of windows built from the program's own
// compiled dialog templates, controls that answer their messages as the platform's do, a
// virtual clock that fires window timers in order, and scripted message boxes.
//
// Handles are unique numbers that are never reused; a call on a destroyed or unknown handle
// answers 0/false/empty, as the platform does, and never touches freed memory.
//
// Geometry: windows have no frame, so a window's client area is its whole rectangle. Dialog
// units map to pixels with fixed base units (6 x 13, a dialog font of 8 points):
// x * 6 / 4 and y * 13 / 8, rounded.
//
// Modal runs: RunModalDialog creates and shows the dialog, disables its owner, delivers the
// posted messages and then calls the modal driver (SetModalDriver) once with the dialog. The
// run returns the EndDialog result if the dialog was ended by then (also from its own
// WM_INITDIALOG); otherwise it is abandoned: it returns -1 and counts in
// AbandonedModalRunCount(). The dialog is destroyed and its owner enabled again either way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/headless/menu_table.h"
#include "framework/headless/message_box_script.h"
#include "framework/headless/popup_menu_script.h"
#include "framework/headless/timer_queue.h"
#include "framework/resources/dialog_template.h"
#include "framework/resources/res_file.h"
#include "framework/window_system.h"

namespace fw::headless {

struct WindowNode;

class HeadlessWindowSystem final : public WindowSystem {
 public:
  static constexpr std::uint32_t kDefaultStartTime = 1'000'000;
  static constexpr int kBaseUnitX = 6;
  static constexpr int kBaseUnitY = 13;
  static constexpr unsigned kMinimumTimerMs = 10;  // USER_TIMER_MINIMUM
  static constexpr const char* kDialogClass = "#32770";

  // The program's embedded resources.
  HeadlessWindowSystem();
  // A compiled .res image (copied); throws std::invalid_argument when it is malformed.
  explicit HeadlessWindowSystem(std::span<const std::uint8_t> compiledResources,
                                std::uint32_t startTime = kDefaultStartTime);
  HeadlessWindowSystem(const HeadlessWindowSystem&) = delete;
  HeadlessWindowSystem& operator=(const HeadlessWindowSystem&) = delete;
  // Drops the windows that are left without calling their targets (which may be gone).
  ~HeadlessWindowSystem() override;

  // WindowSystem
  Hwnd CreateDialogFromTemplate(int templateId, Hwnd parent, MessageTarget* target) override;
  std::intptr_t RunModalDialog(int templateId, Hwnd owner, MessageTarget* target) override;
  void EndDialog(Hwnd dialog, std::intptr_t result) override;
  std::string GetTemplateCaption(int templateId) override;
  Rect GetTemplateSize(int templateId) override;
  Hwnd CreateControl(Hwnd parent, const char* className, std::string_view text, std::uint32_t style,
                     const Rect& rect, int id) override;
  bool DestroyWindow(Hwnd hwnd) override;
  bool IsWindow(Hwnd hwnd) override;
  LResult SendMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) override;
  bool PostMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) override;
  unsigned RegisterWindowMessage(std::string_view name) override;
  Hwnd GetDlgItem(Hwnd dialog, int id) override;
  int GetDlgCtrlId(Hwnd hwnd) override;
  Hwnd GetParent(Hwnd hwnd) override;
  Hwnd GetNextSibling(Hwnd hwnd) override;
  std::uint32_t GetStyle(Hwnd hwnd) override;
  std::string GetClassName(Hwnd hwnd) override;
  bool EnableWindow(Hwnd hwnd, bool enable) override;
  bool IsWindowEnabled(Hwnd hwnd) override;
  bool ShowWindow(Hwnd hwnd, int command) override;
  bool IsWindowVisible(Hwnd hwnd) override;
  void SetWindowText(Hwnd hwnd, std::string_view text) override;
  std::string GetWindowText(Hwnd hwnd) override;
  Hwnd SetFocus(Hwnd hwnd) override;
  Rect GetWindowRect(Hwnd hwnd) override;
  Rect GetClientRect(Hwnd hwnd) override;
  bool MoveWindow(Hwnd hwnd, const Rect& rect, bool repaint) override;
  Rect MapDialogRect(Hwnd dialog, const Rect& dialogUnits) override;
  Point ScreenToClient(Hwnd hwnd, Point screen) override;
  std::uintptr_t SetTimer(Hwnd hwnd, std::uintptr_t id, unsigned elapseMs) override;
  bool KillTimer(Hwnd hwnd, std::uintptr_t id) override;
  int MessageBox(Hwnd owner, std::string_view text, std::string_view caption,
                 unsigned type) override;
  std::string LoadString(unsigned id) override;
  std::optional<std::string> RunOpenFileDialog(const OpenFileRequest& request) override;
  Hmenu LoadMenu(int menuId) override;
  Hmenu GetSubMenu(Hmenu menu, int position) override;
  bool DeleteMenu(Hmenu menu, unsigned item, unsigned flags) override;
  bool DestroyMenu(Hmenu menu) override;
  int TrackPopupMenu(Hmenu menu, unsigned flags, int x, int y, Hwnd owner) override;
  Point GetCursorPos() override { return cursor_; }
  bool SetForegroundWindow(Hwnd hwnd) override;
  Hicon LoadIcon(int iconId) override;
  bool DestroyIcon(Hicon icon) override;
  Hbitmap LoadBitmap(int bitmapId) override;
  Hbitmap LoadBitmapByName(std::string_view name) override;
  bool DeleteObject(Hbitmap bitmap) override;
  bool RedrawWindow(Hwnd hwnd, unsigned flags) override;
  bool HasUpdateRegion(Hwnd hwnd) override;
  Hdc GetDC(Hwnd hwnd) override;
  bool ReleaseDC(Hwnd hwnd, Hdc dc) override;
  ColorRef GetPixel(Hdc dc, int x, int y) override;
  ColorRef SetPixel(Hdc dc, int x, int y, ColorRef color) override;
  bool DrawBitmap(Hdc dc, Hbitmap bitmap, int x, int y) override;

  // --- What a user does. Each returns false when nothing happened: a dead, disabled or
  // hidden window (or one inside a disabled or hidden parent), or a window that takes no
  // such action.

  // A mouse click on a control: a button (auto check boxes toggle, auto radio buttons check
  // themselves and clear the rest of their group) sends BN_CLICKED to its parent; a static
  // with SS_NOTIFY sends STN_CLICKED.
  bool Click(Hwnd control);
  bool Click(Hwnd dialog, int id);
  // A click on tab `index`: TCN_SELCHANGING (a non-zero answer vetoes), the selection,
  // TCN_SELCHANGE. Clicking the selected tab does nothing.
  bool SelectTab(Hwnd tab, int index);
  // The close box: WM_SYSCOMMAND SC_CLOSE, then the posted messages it caused.
  bool Close(Hwnd window);
  // Typing into an edit control: the text, then EN_CHANGE to the parent.
  bool TypeText(Hwnd edit, std::string_view text);
  // Choosing item `index` of a combo box's list: the selection, then CBN_SELCHANGE.
  bool SelectComboItem(Hwnd combo, int index);
  // Dragging a trackbar's thumb to `position` (kept inside the range) and letting go:
  // TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK as WM_VSCROLL/WM_HSCROLL, then
  // NM_RELEASEDCAPTURE.
  bool DragSlider(Hwnd trackbar, int position);
  // Moving a trackbar with the arrow keys to `position`: TB_LINEUP/TB_LINEDOWN steps, then
  // TB_ENDTRACK; no NM_RELEASEDCAPTURE.
  bool MoveSliderWithKeys(Hwnd trackbar, int position);

  // The mouse over a window's client area, at `client` in its client pixels: the message
  // goes to the child under the point that takes mouse input, else to the window itself.
  // Pictures and group boxes take none (they are transparent to the mouse, as statics
  // without SS_NOTIFY are). The point reaches the receiver in its own client pixels.
  bool MouseDown(Hwnd window, Point client);
  bool MouseUp(Hwnd window, Point client);
  bool MouseMove(Hwnd window, Point client, bool buttonDown = true);

  // --- Finding and reading.
  Hwnd FindDialog(int templateId) const;  // the most recent live dialog of that template
  Hwnd Control(Hwnd dialog, int id) const;
  std::vector<Hwnd> Children(Hwnd hwnd) const;  // in z-order
  std::vector<Hwnd> TopLevelWindows() const;    // in creation order
  int TemplateIdOf(Hwnd dialog) const;          // 0 when not a dialog of a template
  std::uint32_t GetExStyle(Hwnd hwnd) const;
  int GetCheck(Hwnd button) const;  // BST_* of a check box or radio button, else 0
  std::optional<std::uint16_t> ImageOrdinal(Hwnd control) const;  // picture of a static
  Hwnd Owner(Hwnd hwnd) const;
  Hwnd GetFocus() const;
  int TabCount(Hwnd tab) const;
  int TabSelection(Hwnd tab) const;
  std::string TabText(Hwnd tab, int index) const;
  std::vector<std::string> ComboItems(Hwnd combo) const;  // top to bottom
  int ComboSelection(Hwnd combo) const;                   // -1 for none
  int SliderPosition(Hwnd trackbar) const;
  std::pair<int, int> SliderRange(Hwnd trackbar) const;

  // --- Open-file choosers: every chooser is recorded and answered in order from the script
  // (a path confirms it, nothing cancels it); an unscripted chooser is cancelled.
  void AnswerFileDialog(std::optional<std::string> path) {
    fileAnswers_.push_back(std::move(path));
  }
  const std::vector<OpenFileRequest>& FileDialogs() const { return fileDialogs_; }
  std::size_t PendingFileAnswerCount() const { return fileAnswers_.size(); }

  // --- Modal runs (see above).
  using ModalDriver = std::function<void(Hwnd dialog)>;
  void SetModalDriver(ModalDriver driver) { modalDriver_ = std::move(driver); }
  int OpenModalRunCount() const { return static_cast<int>(modalRuns_.size()); }
  int AbandonedModalRunCount() const { return abandonedModalRuns_; }

  // --- Painting. Every window has a pixel surface of its client size. A bitmap static shows
  // its image (and takes the image's size, as the platform's do); an owner-drawn button is
  // drawn by its parent through WM_DRAWITEM. Showing a window and RedrawWindow with
  // kUpdateNow paint at once; RedrawWindow without it, and Uncover, leave an update pending
  // until PaintPending (the platform paints when its queue runs empty; a test says when).
  void Uncover(Hwnd hwnd);  // as if a window on top went away: the tree waits for a repaint
  void PaintPending();
  ColorRef PixelAt(Hwnd hwnd, int x, int y);  // kInvalidColor outside the client area
  Hbitmap StaticImage(Hwnd control) const;    // STM_SETIMAGE's bitmap, null if none
  Hbitmap DrawnBitmap(Hwnd hwnd) const;       // the bitmap drawn last on the window
  // The resource a live bitmap was loaded from: "190", "TESTU"; empty when deleted.
  std::string BitmapName(Hbitmap bitmap) const;
  // The resource a picture shows: its STM_SETIMAGE bitmap, else its template's image.
  std::string ShownBitmap(Hwnd control) const;
  std::size_t LiveBitmapCount() const { return bitmaps_.size(); }
  std::size_t LiveDcCount() const { return dcs_.size(); }

  // --- Virtual clock: milliseconds since an arbitrary start, wrapping at 2^32.
  std::uint32_t Now() const { return startTime_ + static_cast<std::uint32_t>(elapsed_); }
  // Moves the clock on by `ms`, delivering posted messages and then, in time order (ties
  // in the order the timers were set), every timer that falls due; a timer is re-armed
  // from the time it fired. Posted messages go before timers due at the same time.
  void Advance(std::uint32_t ms);
  // Delivers the posted messages in order, also those posted meanwhile.
  void PumpMessages();
  std::size_t PendingMessageCount() const { return posted_.size(); }
  bool HasTimer(Hwnd hwnd, std::uintptr_t id) const { return timers_.Has(hwnd, id); }

  // --- Message boxes: every box is recorded in order and answered from the script.
  void AnswerMessageBox(int result) { script_.Push(result); }
  void AnswerMessageBox(MessageBoxAnswer answer) { script_.Push(std::move(answer)); }
  const std::vector<MessageBoxRecord>& MessageBoxes() const { return boxes_; }
  int OpenMessageBoxCount() const { return openBoxes_; }
  std::size_t PendingAnswerCount() const { return script_.Pending(); }
  std::size_t UnscriptedMessageBoxCount() const;

  // --- Counting, for leak checks.
  std::size_t LiveWindowCount() const { return nodes_.size(); }
  std::size_t LiveTimerCount() const { return timers_.Count(); }
  std::size_t LiveMenuCount() const { return menus_.LiveCount(); }
  std::size_t LiveIconCount() const { return icons_.size(); }

  // --- Pop-up menus: every tracked menu is recorded in order and answered from the script;
  // a pick of a grayed item, a separator or a pop-up chooses nothing.
  void AnswerPopupMenu(MenuPick pick) { menuScript_.Push(pick); }
  void AnswerPopupMenu(PopupMenuAnswer answer) { menuScript_.Push(std::move(answer)); }
  const std::vector<PopupMenuRecord>& PopupMenus() const { return popups_; }
  int OpenPopupMenuCount() const { return openPopups_; }
  std::size_t PendingMenuAnswerCount() const { return menuScript_.Pending(); }
  const std::vector<MenuEntry>* MenuItems(Hmenu menu) const { return menus_.Items(menu); }
  void SetCursorPos(Point screen) { cursor_ = screen; }
  Hwnd ForegroundWindow() const { return foreground_; }
  // The resource id an icon was loaded from; 0 for a destroyed or unknown icon.
  int IconResourceId(Hicon icon) const;

 private:
  struct Posted {
    Hwnd hwnd;
    unsigned msg;
    WParam wParam;
    LParam lParam;
  };
  struct ModalRun {
    Hwnd dialog = nullptr;
    bool ended = false;
    std::intptr_t result = -1;
  };

  WindowNode* Find(Hwnd hwnd) const;
  WindowNode& NewNode(std::string className, std::uint32_t style, Hwnd parent, Hwnd owner);
  std::optional<res::DialogTemplate> LoadTemplate(int templateId) const;
  Hwnd BuildDialog(int templateId, Hwnd parent, MessageTarget* target, ModalRun* run);
  void SendDestroy(Hwnd hwnd);
  void QueuePaint(Hwnd hwnd);
  void FinalDestroy(Hwnd hwnd);
  Hwnd RootOf(Hwnd hwnd) const;
  Point ClientOrigin(Hwnd hwnd) const;  // in screen pixels
  bool AcceptsInput(Hwnd hwnd) const;
  Rect ToPixels(const Rect& dialogUnits) const;

  // Default processing of messages no target handled, by window class.
  LResult DefaultProcessing(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
  LResult DialogDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
  LResult ButtonDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
  LResult TabDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
  LResult ComboDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
  // The template's initialisation data (combo box strings) into the dialog's controls.
  void ApplyDlgInit(Hwnd dialog, int templateId);
  LResult TrackbarDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
  void SendScroll(Hwnd trackbar, unsigned code, int position);
  void NotifyParentCommand(Hwnd control, unsigned code);
  LResult NotifyParent(Hwnd control, unsigned code);
  void CheckAutoRadio(Hwnd button);
  LResult StaticDefault(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);
  void SizeToImage(Hwnd control);
  void Paint(Hwnd hwnd);
  void PaintTree(Hwnd hwnd);  // the window and its descendants
  void ForgetDrawing(Hwnd hwnd);
  bool SendMouse(Hwnd window, Point client, unsigned msg, WParam keys);

  struct Bitmap {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<ColorRef> pixels;  // rows top-down
  };
  struct Surface {
    int width = 0;
    int height = 0;
    std::vector<ColorRef> pixels;
    Hbitmap drawn = nullptr;
  };
  std::optional<Bitmap> DecodeBitmap(const res::ResourceId& name) const;
  Surface& SurfaceOf(Hwnd hwnd);

  std::vector<std::uint8_t> bytes_;
  std::optional<res::ResFile> resources_;

  std::unordered_map<Hwnd, std::unique_ptr<WindowNode>> nodes_;
  std::vector<Hwnd> topLevel_;
  std::uintptr_t nextHandle_ = 1;
  std::uint64_t nextCreation_ = 0;
  Hwnd focus_ = nullptr;

  std::uint32_t startTime_;
  std::uint64_t elapsed_ = 0;
  TimerQueue timers_;
  std::deque<Posted> posted_;
  std::set<Hwnd> paintQueued_;

  std::vector<ModalRun*> modalRuns_;
  ModalDriver modalDriver_;
  int abandonedModalRuns_ = 0;

  std::deque<std::optional<std::string>> fileAnswers_;
  std::vector<OpenFileRequest> fileDialogs_;

  MessageBoxScript script_;
  std::vector<MessageBoxRecord> boxes_;
  int openBoxes_ = 0;

  MenuTable menus_;
  PopupMenuScript menuScript_;
  std::vector<PopupMenuRecord> popups_;
  int openPopups_ = 0;
  Point cursor_;
  Hwnd foreground_ = nullptr;

  static constexpr unsigned kFirstRegisteredMessage = 0xC000;
  std::unordered_map<std::string, unsigned> registeredMessages_;  // by lower-case name
  std::unordered_map<Hicon, int> icons_;  // live icons and their resource ids
  std::uintptr_t nextIcon_ = 1;
  std::unordered_map<Hbitmap, Bitmap> bitmaps_;
  std::uintptr_t nextBitmap_ = 1;
  std::unordered_map<Hwnd, Surface> surfaces_;
  std::unordered_map<Hwnd, bool> pendingUpdate_;
  std::unordered_map<Hdc, Hwnd> dcs_;
  std::uintptr_t nextDc_ = 1;
};

}  // namespace fw::headless
