// A page under test in a sheet over the main window's template, the way the program hosts
// it: the page at index 0 and a plain page at index 1 to leave it for.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "framework/dialog.h"
#include "framework/property_sheet.h"
#include "platform/platform.h"
#include "res/resource.h"

namespace korven::testing {

template <class Page>
class SheetHost {
 protected:
  // `beforeActivation` sets up the page object between its creation and its first activation;
  // `more` are the page's further constructor arguments.
  template <class... More>
  void OpenSheet(fw::WindowSystem& windows, const platform::Platform& platform,
                 const std::function<void(fw::CDialog&, Page&)>& beforeActivation = nullptr,
                 More&... more) {
    host_ = std::make_unique<fw::CDialog>(windows, IDD_CONTROL_PANEL);
    ASSERT_TRUE(host_->Create());
    page_ = std::make_unique<Page>(windows, platform, more...);
    other_ = std::make_unique<fw::CPropertyPage>(windows, IDD_INFORMATION);
    sheet_ = std::make_unique<fw::CPropertySheet>(windows);
    sheet_->AddPage(page_.get());
    sheet_->AddPage(other_.get());
    ASSERT_TRUE(sheet_->Create(*host_, fw::Point{5, 5}));
    if (beforeActivation) beforeActivation(*host_, *page_);
    sheet_->SetActivePage(0);
  }

  void CloseSheet() {
    if (page_ == nullptr) return;
    sheet_->DestroyWindow();
    page_->DestroyWindow();
    other_->DestroyWindow();
    host_->DestroyWindow();
    page_.reset();
    other_.reset();
    sheet_.reset();
    host_.reset();
  }

  std::unique_ptr<fw::CDialog> host_;
  std::unique_ptr<Page> page_;
  std::unique_ptr<fw::CPropertyPage> other_;
  std::unique_ptr<fw::CPropertySheet> sheet_;
};

}  // namespace korven::testing
