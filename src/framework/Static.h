// A static control of a dialog (a label or a picture) as an object of ours.
#pragma once

#include "framework/Wnd.h"

class CStatic : public CWnd {
 public:
  static const MessageMap* GetThisMessageMap() {
    static const MessageMap map{&CWnd::GetThisMessageMap, {}};
    return &map;
  }
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }
};
