// A view that is itself a list-view control.
#pragma once

#include "framework/DocTemplate.h"
#include "framework/ListCtrl.h"

class CListView : public CView {
 public:
  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  CListCtrl GetListCtrl() const { return CListCtrl(m_hWnd); }

 protected:
  const char* SystemClassName() const override { return WC_LISTVIEWA; }
};
