#include "framework/property_sheet.h"

#include <algorithm>

namespace fw {

CPropertySheet::~CPropertySheet() { CPropertySheet::DestroyWindow(); }

void CPropertySheet::AddPage(CPropertyPage* page) {
  page->m_pSheet = this;
  pages_.push_back(page);
  if (m_hWnd != nullptr) InsertTab(GetPageCount() - 1);
}

bool CPropertySheet::Create(CWnd& parent, const Rect& place) {
  parent_ = &parent;
  place_ = place;
  Hwnd tabs = Windows().CreateControl(parent.GetSafeHwnd(), "SysTabControl32", "",
                                      ws::kChild | ws::kVisible | ws::kClipSiblings | ws::kTabStop,
                                      place, kTabControlId);
  if (tabs == nullptr) return false;
  AttachHandle(tabs);
  for (int i = 0; i < GetPageCount(); ++i) InsertTab(i);
  return true;
}

bool CPropertySheet::Create(CWnd& parent, Point origin) {
  Rect display{origin.x, origin.y, origin.x, origin.y};
  for (const CPropertyPage* page : pages_) {
    const Rect size = Windows().MapDialogRect(parent.GetSafeHwnd(),
                                              Windows().GetTemplateSize(page->GetTemplateId()));
    display.right = std::max(display.right, origin.x + size.Width());
    display.bottom = std::max(display.bottom, origin.y + size.Height());
  }
  if (!Create(parent, display)) return false;
  // Grow the tab row around the page area, then keep its corner at the origin.
  Rect outer = display;
  SendMessage(tcm::kAdjustRect, 1, reinterpret_cast<LParam>(&outer));
  MoveSheet({origin.x, origin.y, origin.x + outer.Width(), origin.y + outer.Height()});
  return true;
}

bool CPropertySheet::DestroyWindow() {
  if (m_hWnd == nullptr) return false;
  Hwnd tabs = m_hWnd;
  // The tab row has no object of its own in the window system, so nothing reports back.
  Detach();
  active_ = -1;
  // The pages belong to their owner, who may delete them now: forget them.
  for (CPropertyPage* page : pages_) page->m_pSheet = nullptr;
  pages_.clear();
  return Windows().DestroyWindow(tabs);
}

void CPropertySheet::InsertTab(int index) {
  std::string caption = Windows().GetTemplateCaption(pages_[index]->GetTemplateId());
  TabItem item;
  item.mask = tcm::kIfText;
  item.text = caption.data();
  item.textMax = static_cast<int>(caption.size());
  SendMessage(tcm::kInsertItemA, static_cast<WParam>(index), reinterpret_cast<LParam>(&item));
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? pages_[index] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
  for (int i = 0; i < GetPageCount(); ++i) {
    if (pages_[i] == page) return i;
  }
  return -1;
}

Rect CPropertySheet::PageRect() const {
  Rect rect = place_;
  Windows().SendMessage(m_hWnd, tcm::kAdjustRect, 0, reinterpret_cast<LParam>(&rect));
  return rect;
}

bool CPropertySheet::CreatePage(int index) {
  CPropertyPage* page = pages_[index];
  if (!page->Create(parent_)) return false;
  page->ShowWindow(sw::kHide);
  page->MoveWindow(PageRect(), false);
  return true;
}

bool CPropertySheet::SetActivePage(int index) {
  if (m_hWnd == nullptr || index < 0 || index >= GetPageCount()) return false;
  if (CPropertyPage* current = GetActivePage();
      current != nullptr && current->GetSafeHwnd() != nullptr && !current->OnKillActive()) {
    return false;
  }
  Activate(index);
  return true;
}

void CPropertySheet::Activate(int index) {
  const int previous = active_;
  const int last = GetPageCount() - 1;
  int shown = index;
  for (int i = index; i <= last; ++i) {
    shown = i;
    SendMessage(tcm::kSetCurSel, static_cast<WParam>(i), 0);
    CPropertyPage* page = pages_[i];
    if (page->GetSafeHwnd() == nullptr && !CreatePage(i)) continue;
    if (page->OnSetActive()) break;
    // Refused: this page stays hidden and the next one is tried.
  }
  if (previous >= 0 && previous != shown) pages_[previous]->ShowWindow(sw::kHide);
  for (int i = index; i < shown; ++i) pages_[i]->ShowWindow(sw::kHide);
  active_ = shown;
  SendMessage(tcm::kSetCurSel, static_cast<WParam>(shown), 0);
  // The page follows the sheet's own visibility, whatever its parent shows at the moment.
  const bool sheetShown = (Windows().GetStyle(m_hWnd) & ws::kVisible) != 0;
  if (pages_[shown]->GetSafeHwnd() != nullptr && sheetShown) {
    pages_[shown]->ShowWindow(sw::kShow);
  }
}

void CPropertySheet::ShowSheet(bool show) {
  ShowWindow(show ? sw::kShow : sw::kHide);
  if (CPropertyPage* page = GetActivePage(); page != nullptr && page->GetSafeHwnd() != nullptr) {
    page->ShowWindow(show ? sw::kShow : sw::kHide);
  }
}

void CPropertySheet::MoveSheet(const Rect& place) {
  place_ = place;
  MoveWindow(place, true);
  const Rect pageRect = PageRect();
  for (CPropertyPage* page : pages_) {
    if (page->GetSafeHwnd() != nullptr) page->MoveWindow(pageRect, true);
  }
}

bool CPropertySheet::OnChildNotify(unsigned msg, WParam /*wParam*/, LParam lParam,
                                   LResult* result) {
  if (msg != wm::kNotify) return false;
  const auto* header = reinterpret_cast<const NmHdr*>(lParam);
  if (header->code == tcm::kNotifySelChanging) {
    CPropertyPage* current = GetActivePage();
    const bool keep =
        current != nullptr && current->GetSafeHwnd() != nullptr && !current->OnKillActive();
    leaveDone_ = !keep;
    *result = keep ? 1 : 0;  // non-zero keeps the tab where it is
    return true;
  }
  if (header->code == tcm::kNotifySelChange) {
    const int index = static_cast<int>(SendMessage(tcm::kGetCurSel, 0, 0));
    if (index >= 0 && index < GetPageCount()) {
      if (leaveDone_) {
        Activate(index);
      } else {
        SetActivePage(index);
      }
    }
    leaveDone_ = false;
    *result = 0;
    return true;
  }
  return false;
}

}  // namespace fw
