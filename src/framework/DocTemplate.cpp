#include "framework/DocTemplate.h"

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

const MessageMap* CView::GetThisMessageMap() {
  static const MessageMap map{&CWnd::GetThisMessageMap, {}};
  return &map;
}

bool CView::PreCreateWindow(CREATESTRUCTA&) { return true; }

bool CView::Create(CFrameWnd* frame, UINT id) {
  static constexpr const char* kViewClass = "OrbelsLaunchView";
  const char* className = SystemClassName();
  if (className == nullptr) {
    RegisterWindowClass(kViewClass, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    className = kViewClass;
  }
  CREATESTRUCTA cs{};
  cs.lpszClass = className;
  cs.style = WS_CHILD | WS_VISIBLE | WS_BORDER;
  cs.hwndParent = frame->m_hWnd;
  cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
  if (!PreCreateWindow(cs)) return false;
  return CreateEx(cs.dwExStyle, className, "", cs.style, 0, 0, 0, 0, frame->m_hWnd, cs.hMenu);
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocumentFactory document, FrameFactory frame,
                                       ViewFactory view)
    : m_nResourceId(resourceId), m_makeDocument(std::move(document)), m_makeFrame(std::move(frame)),
      m_makeView(std::move(view)) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

bool CSingleDocTemplate::OpenNewDocument(CWinApp& app) {
  std::unique_ptr<CDocument> document = m_makeDocument();
  if (!document || !document->OnNewDocument()) return false;
  m_pDocument = std::move(document);
  m_pFrame = m_makeFrame();
  m_pFrame->m_pTemplate = this;
  if (!m_pFrame->LoadFrame(m_nResourceId, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, m_makeView)) {
    m_pFrame.reset();
    m_pDocument.reset();
    return false;
  }
  app.m_pMainWnd = m_pFrame.get();
  if (CView* view = m_pFrame->GetActiveView()) view->OnInitialUpdate();
  m_pFrame->ActivateFrame(-1);
  return true;
}

void CSingleDocTemplate::OnFrameDestroyed() {}
