#include "framework/headless/headless_window_system.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "framework/headless/dialog_units.h"
#include "framework/headless/win32_values.h"
#include "framework/headless/window_node.h"
#include "res/compiled_resources.h"

namespace fw::headless {

namespace {

std::span<const std::uint8_t> EmbeddedResources() {
  return {korven::res::kCompiledResources, korven::res::kCompiledResourcesSize};
}

}  // namespace

HeadlessWindowSystem::HeadlessWindowSystem() : HeadlessWindowSystem(EmbeddedResources()) {}

HeadlessWindowSystem::HeadlessWindowSystem(std::span<const std::uint8_t> compiledResources,
                                           std::uint32_t startTime)
    : bytes_(compiledResources.begin(), compiledResources.end()), startTime_(startTime) {
  resources_ = res::ResFile::Parse(bytes_);
  if (!resources_) throw std::invalid_argument("malformed compiled resources");
}

HeadlessWindowSystem::~HeadlessWindowSystem() = default;

// --- Nodes -------------------------------------------------------------------------------

WindowNode* HeadlessWindowSystem::Find(Hwnd hwnd) const {
  if (hwnd == nullptr) return nullptr;
  auto it = nodes_.find(hwnd);
  return it == nodes_.end() ? nullptr : it->second.get();
}

WindowNode& HeadlessWindowSystem::NewNode(std::string className, std::uint32_t style, Hwnd parent,
                                          Hwnd owner) {
  // Handles are counted up and never reused, so a stale handle never names a new window.
  Hwnd handle = reinterpret_cast<Hwnd>(nextHandle_++ * 4 + 0x10000);
  auto node = std::make_unique<WindowNode>();
  node->handle = handle;
  node->className = std::move(className);
  node->style = style;
  node->parent = parent;
  node->owner = owner;
  node->creation = nextCreation_++;
  WindowNode& ref = *node;
  nodes_.emplace(handle, std::move(node));
  if (WindowNode* p = Find(parent)) {
    p->children.push_back(handle);
  } else {
    topLevel_.push_back(handle);
  }
  return ref;
}

Hwnd HeadlessWindowSystem::RootOf(Hwnd hwnd) const {
  WindowNode* n = Find(hwnd);
  while (n != nullptr && n->parent != nullptr) n = Find(n->parent);
  return n == nullptr ? nullptr : n->handle;
}

bool HeadlessWindowSystem::IsWindow(Hwnd hwnd) {
  return Find(hwnd) != nullptr;
}

// --- Dialogs -----------------------------------------------------------------------------

std::optional<res::DialogTemplate> HeadlessWindowSystem::LoadTemplate(int templateId) const {
  if (templateId <= 0 || templateId > 0xFFFF) return std::nullopt;
  const res::ResourceEntry* entry =
      resources_->Find(res::ResourceId::Number(res::kTypeDialog),
                       res::ResourceId::Number(static_cast<std::uint16_t>(templateId)));
  if (entry == nullptr) return std::nullopt;
  return res::ParseDialogTemplate(entry->data);
}

std::string HeadlessWindowSystem::GetTemplateCaption(int templateId) {
  std::optional<res::DialogTemplate> dialog = LoadTemplate(templateId);
  return dialog ? dialog->caption : std::string();
}

Rect HeadlessWindowSystem::GetTemplateSize(int templateId) {
  std::optional<res::DialogTemplate> dialog = LoadTemplate(templateId);
  return dialog ? Rect{0, 0, dialog->cx, dialog->cy} : Rect{};
}

std::string HeadlessWindowSystem::LoadString(unsigned id) {
  return resources_->FindString(id).value_or(std::string());
}

Rect HeadlessWindowSystem::ToPixels(const Rect& du) const {
  return DialogUnitsToPixels(du, kBaseUnitX, kBaseUnitY);
}

Hwnd HeadlessWindowSystem::BuildDialog(int templateId, Hwnd parent, MessageTarget* target,
                                       ModalRun* run) {
  std::optional<res::DialogTemplate> tmpl = LoadTemplate(templateId);
  if (!tmpl) return nullptr;
  if (parent != nullptr && Find(parent) == nullptr) return nullptr;
  const bool child = (tmpl->style & ws::kChild) != 0;
  if (child && parent == nullptr) return nullptr;

  // The dialog is created hidden and shown after WM_INITDIALOG when its template says so.
  WindowNode& dialog = NewNode(kDialogClass, tmpl->style & ~ws::kVisible, child ? parent : nullptr,
                               child ? nullptr : RootOf(parent));
  const Hwnd hwnd = dialog.handle;
  dialog.exStyle = tmpl->exStyle;
  dialog.text = tmpl->caption;
  dialog.isDialog = true;
  dialog.templateId = templateId;
  dialog.rect = ToPixels({tmpl->x, tmpl->y, tmpl->x + tmpl->cx, tmpl->y + tmpl->cy});
  if (!child && dialog.owner != nullptr) {
    Point origin = ClientOrigin(dialog.owner);
    dialog.rect = {dialog.rect.left + origin.x, dialog.rect.top + origin.y,
                   dialog.rect.right + origin.x, dialog.rect.bottom + origin.y};
  }
  if (run != nullptr) run->dialog = hwnd;

  for (const res::DialogItem& item : tmpl->items) {
    WindowNode& control = NewNode(item.className, item.style | ws::kChild, hwnd, nullptr);
    control.exStyle = item.exStyle;
    control.id = item.id;
    control.text = item.text;
    if (item.textIsOrdinal) control.imageOrdinal = item.textOrdinal;
    control.rect = ToPixels({item.x, item.y, item.x + item.cx, item.y + item.cy});
    SizeToImage(control.handle);
  }

  if (target != nullptr) {
    Find(hwnd)->target = target;
    target->AttachHandle(hwnd);
  }
  // The controls' initial data is in place before WM_INITDIALOG, as the framework's dialog
  // creation puts it on the platform.
  ApplyDlgInit(hwnd, templateId);
  if (Find(hwnd) == nullptr) return nullptr;

  Hwnd firstTabStop = nullptr;
  for (Hwnd c : Find(hwnd)->children) {
    const WindowNode* n = Find(c);
    if ((n->style & ws::kTabStop) && (n->style & ws::kVisible) && !(n->style & ws::kDisabled)) {
      firstTabStop = c;
      break;
    }
  }
  LResult init = SendMessage(hwnd, wm::kInitDialog, reinterpret_cast<WParam>(firstTabStop), 0);
  if (Find(hwnd) == nullptr) return nullptr;  // destroyed by its own initialisation
  if (init != 0 && firstTabStop != nullptr && Find(firstTabStop) != nullptr) {
    focus_ = firstTabStop;
  }
  const bool ended = run != nullptr && run->ended;
  if ((tmpl->style & ws::kVisible) && !ended) ShowWindow(hwnd, sw::kShowNormal);
  return Find(hwnd) == nullptr ? nullptr : hwnd;
}

Hwnd HeadlessWindowSystem::CreateDialogFromTemplate(int templateId, Hwnd parent,
                                                    MessageTarget* target) {
  return BuildDialog(templateId, parent, target, nullptr);
}

Hwnd HeadlessWindowSystem::CreateControl(Hwnd parent, const char* className, std::string_view text,
                                         std::uint32_t style, const Rect& rect, int id) {
  if (parent != nullptr && Find(parent) == nullptr) return nullptr;
  const bool child = (style & ws::kChild) != 0;
  if (child && parent == nullptr) return nullptr;
  WindowNode& node = NewNode(className == nullptr ? "" : className, style, child ? parent : nullptr,
                             child ? nullptr : RootOf(parent));
  node.text = std::string(text);
  node.id = child ? id : 0;
  node.rect = rect;
  return node.handle;
}

Hwnd HeadlessWindowSystem::FindDialog(int templateId) const {
  const WindowNode* best = nullptr;
  for (const auto& [handle, node] : nodes_) {
    if (!node->isDialog || node->templateId != templateId || node->destroying) continue;
    if (best == nullptr || node->creation > best->creation) best = node.get();
  }
  return best == nullptr ? nullptr : best->handle;
}

int HeadlessWindowSystem::TemplateIdOf(Hwnd dialog) const {
  const WindowNode* n = Find(dialog);
  return n != nullptr && n->isDialog ? n->templateId : 0;
}

// --- Destruction -------------------------------------------------------------------------

bool HeadlessWindowSystem::DestroyWindow(Hwnd hwnd) {
  WindowNode* n = Find(hwnd);
  if (n == nullptr || n->destroying) return false;

  // Owned windows go first, then the window: WM_DESTROY top-down while the whole tree still
  // exists, then WM_NCDESTROY bottom-up as each window goes away.
  std::vector<Hwnd> owned;
  for (Hwnd top : topLevel_) {
    const WindowNode* t = Find(top);
    if (t != nullptr && t->owner == hwnd) owned.push_back(top);
  }
  for (Hwnd o : owned) DestroyWindow(o);

  n = Find(hwnd);
  if (n == nullptr || n->destroying) return false;
  if (n->style & ws::kVisible) n->style &= ~ws::kVisible;
  SendDestroy(hwnd);
  FinalDestroy(hwnd);
  return true;
}

void HeadlessWindowSystem::SendDestroy(Hwnd hwnd) {
  WindowNode* n = Find(hwnd);
  if (n == nullptr || n->destroying) return;
  n->destroying = true;
  SendMessage(hwnd, wm::kDestroy, 0, 0);
  n = Find(hwnd);
  if (n == nullptr) return;
  const std::vector<Hwnd> children = n->children;
  for (Hwnd c : children) SendDestroy(c);
}

void HeadlessWindowSystem::FinalDestroy(Hwnd hwnd) {
  WindowNode* n = Find(hwnd);
  if (n == nullptr) return;
  n->destroying = true;
  // Children made while WM_DESTROY ran go too.
  while (!n->children.empty()) {
    Hwnd c = n->children.front();
    FinalDestroy(c);
    n = Find(hwnd);
    if (n == nullptr) return;
    std::erase(n->children, c);  // in case the child was already gone
  }
  SendMessage(hwnd, wm::kNcDestroy, 0, 0);
  n = Find(hwnd);
  if (n == nullptr) return;
  MessageTarget* target = n->target;
  n->target = nullptr;
  if (target != nullptr) target->DetachHandle();

  n = Find(hwnd);
  if (n == nullptr) return;
  timers_.KillAll(hwnd);
  ForgetDrawing(hwnd);
  std::erase_if(posted_, [&](const Posted& p) { return p.hwnd == hwnd; });
  if (focus_ == hwnd) focus_ = nullptr;
  if (foreground_ == hwnd) foreground_ = nullptr;
  if (WindowNode* p = Find(n->parent)) {
    std::erase(p->children, hwnd);
  } else {
    std::erase(topLevel_, hwnd);
  }
  for (auto& [handle, other] : nodes_) {
    if (other->owner == hwnd) other->owner = nullptr;
  }
  Unregister(hwnd);
  nodes_.erase(hwnd);
}

namespace {

// A combo box shows its selected item.
const std::string& ShownText(const WindowNode& n) {
  if (EqualsIgnoreCase(n.className, "ComboBox") && n.curSel >= 0 &&
      n.curSel < static_cast<int>(n.items.size())) {
    return n.items[static_cast<std::size_t>(n.curSel)];
  }
  return n.text;
}

}  // namespace

// --- Messages ----------------------------------------------------------------------------

LResult HeadlessWindowSystem::SendMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  WindowNode* n = Find(hwnd);
  if (n == nullptr) return 0;
  if (MessageTarget* target = n->target) {
    LResult result = 0;
    if (target->HandleMessage(msg, wParam, lParam, &result)) return result;
    if (Find(hwnd) == nullptr) return 0;  // gone while handling it
  }
  return DefaultProcessing(hwnd, msg, wParam, lParam);
}

bool HeadlessWindowSystem::PostMessage(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  if (Find(hwnd) == nullptr) return false;
  posted_.push_back({hwnd, msg, wParam, lParam});
  return true;
}

unsigned HeadlessWindowSystem::RegisterWindowMessage(std::string_view name) {
  if (name.empty()) return 0;
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto [it, added] = registeredMessages_.try_emplace(
      key, kFirstRegisteredMessage + static_cast<unsigned>(registeredMessages_.size()));
  return it->second;
}

LResult HeadlessWindowSystem::DefaultProcessing(Hwnd hwnd, unsigned msg, WParam wParam,
                                                LParam lParam) {
  WindowNode* n = Find(hwnd);
  switch (msg) {
    case wm::kSetText: {
      const char* text = reinterpret_cast<const char*>(lParam);
      n->text = text == nullptr ? "" : text;
      if (EqualsIgnoreCase(n->className, "Edit") && !(n->style & win32::kEsMultiline)) {
        NotifyParentCommand(hwnd, win32::kEnChange);
      }
      return 1;
    }
    case wm::kGetText: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (buffer == nullptr || wParam == 0) return 0;
      const std::string& text = ShownText(*n);
      std::size_t count = std::min<std::size_t>(text.size(), wParam - 1);
      std::memcpy(buffer, text.data(), count);
      buffer[count] = '\0';
      return static_cast<LResult>(count);
    }
    case wm::kGetTextLength:
      return static_cast<LResult>(ShownText(*n).size());
    case wm::kSysCommand:
      if ((wParam & 0xFFF0) == win32::kScClose) SendMessage(hwnd, wm::kClose, 0, 0);
      return 0;
    default:
      break;
  }
  if (n->isDialog) return DialogDefault(hwnd, msg, wParam, lParam);
  if (EqualsIgnoreCase(n->className, "Button")) return ButtonDefault(hwnd, msg, wParam, lParam);
  if (EqualsIgnoreCase(n->className, "SysTabControl32")) {
    return TabDefault(hwnd, msg, wParam, lParam);
  }
  if (EqualsIgnoreCase(n->className, "ComboBox")) return ComboDefault(hwnd, msg, wParam, lParam);
  if (EqualsIgnoreCase(n->className, "Static")) return StaticDefault(hwnd, msg, wParam, lParam);
  if (EqualsIgnoreCase(n->className, "msctls_trackbar32")) {
    return TrackbarDefault(hwnd, msg, wParam, lParam);
  }
  if (msg == wm::kClose) DestroyWindow(hwnd);
  return 0;
}

LResult HeadlessWindowSystem::DialogDefault(Hwnd hwnd, unsigned msg, WParam, LParam) {
  if (msg == wm::kClose) {
    // The close box of a dialog is its Cancel button.
    PostMessage(hwnd, wm::kCommand, MakeWParam(kIdCancel, bm::kNotifyClicked),
                reinterpret_cast<LParam>(GetDlgItem(hwnd, kIdCancel)));
  }
  return 0;
}

// --- Tree --------------------------------------------------------------------------------

Hwnd HeadlessWindowSystem::GetDlgItem(Hwnd dialog, int id) {
  return Control(dialog, id);
}

Hwnd HeadlessWindowSystem::Control(Hwnd dialog, int id) const {
  const WindowNode* n = Find(dialog);
  if (n == nullptr) return nullptr;
  for (Hwnd c : n->children) {
    if (Find(c)->id == id) return c;
  }
  return nullptr;
}

int HeadlessWindowSystem::GetDlgCtrlId(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  return n == nullptr ? 0 : n->id;
}

Hwnd HeadlessWindowSystem::GetParent(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  if (n == nullptr) return nullptr;
  if (n->style & ws::kChild) return n->parent;
  return (n->style & ws::kPopup) ? n->owner : nullptr;
}

Hwnd HeadlessWindowSystem::Owner(Hwnd hwnd) const {
  const WindowNode* n = Find(hwnd);
  return n == nullptr ? nullptr : n->owner;
}

Hwnd HeadlessWindowSystem::GetNextSibling(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  if (n == nullptr) return nullptr;
  const WindowNode* p = Find(n->parent);
  const std::vector<Hwnd>& list = p != nullptr ? p->children : topLevel_;
  auto it = std::ranges::find(list, hwnd);
  if (it == list.end() || ++it == list.end()) return nullptr;
  return *it;
}

std::vector<Hwnd> HeadlessWindowSystem::Children(Hwnd hwnd) const {
  const WindowNode* n = Find(hwnd);
  return n == nullptr ? std::vector<Hwnd>() : n->children;
}

std::vector<Hwnd> HeadlessWindowSystem::TopLevelWindows() const {
  return topLevel_;
}

std::uint32_t HeadlessWindowSystem::GetStyle(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  return n == nullptr ? 0 : n->style;
}

std::uint32_t HeadlessWindowSystem::GetExStyle(Hwnd hwnd) const {
  const WindowNode* n = Find(hwnd);
  return n == nullptr ? 0 : n->exStyle;
}

std::string HeadlessWindowSystem::GetClassName(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  return n == nullptr ? std::string() : n->className;
}

// --- State -------------------------------------------------------------------------------

bool HeadlessWindowSystem::EnableWindow(Hwnd hwnd, bool enable) {
  WindowNode* n = Find(hwnd);
  if (n == nullptr) return false;
  const bool wasDisabled = (n->style & ws::kDisabled) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    n->style &= ~ws::kDisabled;
  } else {
    n->style |= ws::kDisabled;
    for (Hwnd f = focus_; f != nullptr; f = Find(f) ? Find(f)->parent : nullptr) {
      if (f == hwnd) {
        focus_ = nullptr;
        break;
      }
    }
  }
  SendMessage(hwnd, win32::kWmEnable, enable ? 1 : 0, 0);
  return wasDisabled;
}

bool HeadlessWindowSystem::IsWindowEnabled(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  return n != nullptr && !(n->style & ws::kDisabled);
}

bool HeadlessWindowSystem::ShowWindow(Hwnd hwnd, int command) {
  WindowNode* n = Find(hwnd);
  if (n == nullptr) return false;
  const bool wasVisible = (n->style & ws::kVisible) != 0;
  const bool show = command != sw::kHide;
  if (wasVisible == show) return wasVisible;
  SendMessage(hwnd, wm::kShowWindow, show ? 1 : 0, 0);
  n = Find(hwnd);
  if (n == nullptr) return wasVisible;
  if (show) {
    n->style |= ws::kVisible;
    PaintTree(hwnd);
    // A window of the program that appears on the screen gets WM_PAINT once the queue is
    // empty, as the platform delivers it; one pending paint at a time.
    if (n->target != nullptr && !(n->style & ws::kChild)) QueuePaint(hwnd);
  } else {
    n->style &= ~ws::kVisible;
  }
  return wasVisible;
}

bool HeadlessWindowSystem::IsWindowVisible(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  if (n == nullptr) return false;
  for (; n != nullptr; n = Find(n->parent)) {
    if (!(n->style & ws::kVisible)) return false;
  }
  return true;
}

bool HeadlessWindowSystem::AcceptsInput(Hwnd hwnd) const {
  const WindowNode* n = Find(hwnd);
  if (n == nullptr) return false;
  for (; n != nullptr; n = Find(n->parent)) {
    if (!(n->style & ws::kVisible) || (n->style & ws::kDisabled) || n->destroying) return false;
  }
  return true;
}

void HeadlessWindowSystem::SetWindowText(Hwnd hwnd, std::string_view text) {
  std::string copy(text);
  SendMessage(hwnd, wm::kSetText, 0, reinterpret_cast<LParam>(copy.c_str()));
}

std::string HeadlessWindowSystem::GetWindowText(Hwnd hwnd) {
  if (Find(hwnd) == nullptr) return {};
  LResult length = SendMessage(hwnd, wm::kGetTextLength, 0, 0);
  if (length <= 0) return {};
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  LResult copied =
      SendMessage(hwnd, wm::kGetText, buffer.size(), reinterpret_cast<LParam>(buffer.data()));
  buffer.resize(static_cast<std::size_t>(std::clamp<LResult>(copied, 0, length)));
  return buffer;
}

Hwnd HeadlessWindowSystem::SetFocus(Hwnd hwnd) {
  if (hwnd != nullptr && Find(hwnd) == nullptr) return nullptr;
  Hwnd previous = focus_;
  focus_ = hwnd;
  return previous;
}

Hwnd HeadlessWindowSystem::GetFocus() const {
  return focus_;
}

// --- Geometry ----------------------------------------------------------------------------

Point HeadlessWindowSystem::ClientOrigin(Hwnd hwnd) const {
  Point origin;
  for (const WindowNode* n = Find(hwnd); n != nullptr; n = Find(n->parent)) {
    origin.x += n->rect.left;
    origin.y += n->rect.top;
  }
  return origin;
}

Rect HeadlessWindowSystem::GetWindowRect(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  if (n == nullptr) return {};
  Point origin = ClientOrigin(hwnd);
  return {origin.x, origin.y, origin.x + n->rect.Width(), origin.y + n->rect.Height()};
}

Rect HeadlessWindowSystem::GetClientRect(Hwnd hwnd) {
  const WindowNode* n = Find(hwnd);
  if (n == nullptr) return {};
  return {0, 0, n->rect.Width(), n->rect.Height()};
}

bool HeadlessWindowSystem::MoveWindow(Hwnd hwnd, const Rect& rect, bool) {
  WindowNode* n = Find(hwnd);
  if (n == nullptr) return false;
  const Rect old = n->rect;
  n->rect = rect;
  if (old.left != rect.left || old.top != rect.top) {
    SendMessage(hwnd, wm::kMove, 0,
                static_cast<LParam>(
                    MakeWParam(static_cast<unsigned>(rect.left), static_cast<unsigned>(rect.top))));
  }
  if (Find(hwnd) != nullptr && (old.Width() != rect.Width() || old.Height() != rect.Height())) {
    SendMessage(hwnd, wm::kSize, 0,
                static_cast<LParam>(MakeWParam(static_cast<unsigned>(rect.Width()),
                                               static_cast<unsigned>(rect.Height()))));
  }
  return true;
}

Rect HeadlessWindowSystem::MapDialogRect(Hwnd dialog, const Rect& dialogUnits) {
  if (Find(dialog) == nullptr) return {};
  return ToPixels(dialogUnits);
}

Point HeadlessWindowSystem::ScreenToClient(Hwnd hwnd, Point screen) {
  if (Find(hwnd) == nullptr) return screen;
  Point origin = ClientOrigin(hwnd);
  return {screen.x - origin.x, screen.y - origin.y};
}

}  // namespace fw::headless
