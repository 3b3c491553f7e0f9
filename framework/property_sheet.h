// CPropertySheet: pages behind a row of tabs, hosted as children of a parent window at a
// given place (a modeless sheet that cannot fall behind its owner).
//
// Selecting a page runs the leave work of the selected page (which may keep it), then
// creates the requested page's dialog if needed and runs its activation, also when it is
// the page already selected. A page that refuses activation stays hidden and the sheet
// moves on to the next page; the last page is shown even if it refuses.
#pragma once

#include <string>
#include <vector>

#include "framework/property_page.h"
#include "framework/wnd.h"

namespace fw {

class CPropertySheet : public CWnd {
 public:
  static constexpr int kTabControlId = 0x3020;

  explicit CPropertySheet(WindowSystem& windows) : CWnd(windows) {}
  ~CPropertySheet() override;

  void AddPage(CPropertyPage* page);
  // Creates the tab row over `place` (pixels in the parent's client area). Pages are made
  // when first selected.
  bool Create(CWnd& parent, const Rect& place);
  // Creates the sheet at `origin`, as large as its largest page plus the tab row, as the
  // platform's own property sheet sizes itself.
  bool Create(CWnd& parent, Point origin);
  bool DestroyWindow() override;

  int GetPageCount() const { return static_cast<int>(pages_.size()); }
  CPropertyPage* GetPage(int index) const;
  int GetPageIndex(const CPropertyPage* page) const;
  int GetActiveIndex() const { return active_; }
  CPropertyPage* GetActivePage() const { return GetPage(active_); }
  bool SetActivePage(int index);
  bool SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
  // Shows or hides the tabs and the active page together.
  void ShowSheet(bool show);
  // Moves the tab row (and the pages inside it) to `place` in the parent's client area.
  void MoveSheet(const Rect& place);

 protected:
  bool OnChildNotify(unsigned msg, WParam wParam, LParam lParam, LResult* result) override;

 private:
  bool CreatePage(int index);
  void InsertTab(int index);
  // Activation from `index` on: a refusing page is skipped, the last page is taken anyway.
  void Activate(int index);
  Rect PageRect() const;

  std::vector<CPropertyPage*> pages_;
  CWnd* parent_ = nullptr;
  Rect place_;
  int active_ = -1;
  bool leaveDone_ = false;  // the tab row asked to leave the page and it agreed
};

}  // namespace fw
