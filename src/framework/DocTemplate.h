// The document, the view and the single-document template that creates the three of them
// (document, frame, view) for the new-document command.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/CmdTarget.h"
#include "framework/Wnd.h"

class CFrameWnd;
class CWinApp;

class CDocument : public CCmdTarget {
 public:
  virtual bool OnNewDocument() { return true; }
  virtual bool IsModified() const { return false; }
};

class CView : public CWnd {
 public:
  static const MessageMap* GetThisMessageMap();
  const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

  CDocument* GetDocument() const { return m_pDocument; }
  // Adjusts the creation parameters; false stops the creation.
  virtual bool PreCreateWindow(CREATESTRUCTA& cs);
  virtual void OnInitialUpdate() {}
  virtual void OnDraw(HDC) {}
  // Creates the view's window as the frame's child filling its client area.
  bool Create(CFrameWnd* frame, UINT id);

  CDocument* m_pDocument = nullptr;

 protected:
  // The system window class the view is made of; empty for a window class of our own.
  virtual const char* SystemClassName() const { return nullptr; }
};

class CSingleDocTemplate {
 public:
  using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
  using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;
  using ViewFactory = std::function<std::unique_ptr<CView>()>;

  CSingleDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame, ViewFactory view);
  ~CSingleDocTemplate();

  template <typename Document, typename Frame, typename View>
  static std::unique_ptr<CSingleDocTemplate> Make(UINT resourceId) {
    return std::make_unique<CSingleDocTemplate>(
        resourceId, [] { return std::make_unique<Document>(); }, [] { return std::make_unique<Frame>(); },
        [] { return std::make_unique<View>(); });
  }

  // Creates the document, the frame (which creates the view), runs the view's initial update
  // and shows the frame. False, with nothing left behind, when any step fails.
  bool OpenNewDocument(CWinApp& app);

  CDocument* GetDocument() const { return m_pDocument.get(); }
  CFrameWnd* GetFrame() const { return m_pFrame.get(); }
  // Called by the frame once its window is gone.
  void OnFrameDestroyed();

 private:
  UINT m_nResourceId;
  DocumentFactory m_makeDocument;
  FrameFactory m_makeFrame;
  ViewFactory m_makeView;
  std::unique_ptr<CDocument> m_pDocument;
  std::unique_ptr<CFrameWnd> m_pFrame;
};
