// The application object, and the document, which holds nothing.
#pragma once

#include "framework/DocTemplate.h"
#include "framework/WinApp.h"

class COrbelslaunchDoc : public CDocument {
 public:
  bool OnNewDocument() override { return CDocument::OnNewDocument(); }
};

class COrbelslaunchApp : public CWinApp {
 public:
  COrbelslaunchApp() = default;  // the name comes from string resource 57344

  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  bool InitInstance() override;
  void OnAppAbout();
};
