#include "dialogs/AboutDlg.h"

#include <iterator>

#include "framework/Dpi.h"
#include "framework/DpiScale.h"
#include "res/resource.h"

namespace {

constexpr const char* kMailUrl = "mailto:support@example.com";
constexpr const char* kWebUrl = "http://www.example.com/";
// Blue, red under the pointer, still blue once visited, never in the active colour.
constexpr DWORD kAddedLinkStyle = CHyperLink::LinkNoActiveColor | CHyperLink::LinkHoverColor;

constexpr SIZE kBannerSize = {300, 75};  // at 96 DPI
struct DrawnBanner {
  int width;
  UINT id;
};
constexpr DrawnBanner kDrawnBanners[] = {{300, IDB_BANNER}, {450, IDB_BANNER_150}, {600, IDB_BANNER_200}};

// A copy of `picture` at exactly the given size, shrunk smoothly.
HBITMAP ShrinkBitmap(HBITMAP picture, int width, int height) {
  BITMAP source{};
  if (!::GetObjectA(picture, sizeof source, &source)) return nullptr;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;  // no alpha: the control shows it as it is
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP shrunk = ::CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC from = ::CreateCompatibleDC(screen);
  HDC to = ::CreateCompatibleDC(screen);
  if (shrunk != nullptr && from != nullptr && to != nullptr) {
    const HGDIOBJ oldFrom = ::SelectObject(from, picture);
    const HGDIOBJ oldTo = ::SelectObject(to, shrunk);
    ::SetStretchBltMode(to, HALFTONE);
    ::SetBrushOrgEx(to, 0, 0, nullptr);
    ::StretchBlt(to, 0, 0, width, height, from, 0, 0, source.bmWidth, source.bmHeight, SRCCOPY);
    ::SelectObject(from, oldFrom);
    ::SelectObject(to, oldTo);
  }
  if (from != nullptr) ::DeleteDC(from);
  if (to != nullptr) ::DeleteDC(to);
  ::ReleaseDC(nullptr, screen);
  return shrunk;
}

void SetUpLink(CHyperLink& link, const char* url) {
  link.SetLinkURL(url);
  link.ChangeLinkStyle(0, kAddedLinkStyle, true);
  CHyperLink::SetLinkColors(RGB(0, 0, 255), RGB(64, 128, 128), RGB(0, 0, 255), RGB(255, 0, 0));
}

}  // namespace

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
  DDX_Control(pDX, IDC_WEB_LINK, m_linkWeb);
  DDX_Control(pDX, IDC_MAIL_LINK, m_linkMail);
}

bool CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();  // attaches both links
  SetUpLink(m_linkMail, kMailUrl);
  SetUpLink(m_linkWeb, kWebUrl);
  m_banner.SubclassWindow(::GetWindow(m_hWnd, GW_CHILD));  // the template's first control
  const int dpi = ol::WindowDpi(m_hWnd);
  m_banner.ShowAtSize({ol::ScaleForDpi(kBannerSize.cx, dpi), ol::ScaleForDpi(kBannerSize.cy, dpi)});
  return true;  // the focus goes to the first control that takes it: OK
}

const MessageMap* CAboutBanner::GetThisMessageMap() {
  static constexpr MessageMapEntry kEntries[] = {
      MapMessage<&CAboutBanner::OnDpiChangedAfterParent>(ol::kWmDpiChangedAfterParent),
      MapMessage<&CAboutBanner::OnDestroy>(WM_DESTROY),
  };
  static const MessageMap map{&CStatic::GetThisMessageMap, kEntries};
  return &map;
}

void CAboutBanner::ShowAtSize(SIZE size) {
  HGDIOBJ shown = nullptr;
  ol::UniqueGdiObject picture;
  if (size.cx != kBannerSize.cx || size.cy != kBannerSize.cy) {
    const DrawnBanner* drawn = &kDrawnBanners[std::size(kDrawnBanners) - 1];
    for (const DrawnBanner& banner : kDrawnBanners) {
      if (banner.width >= size.cx) {
        drawn = &banner;
        break;
      }
    }
    picture.Reset(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(drawn->id), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION));
    BITMAP drawnSize{};
    if (!picture || !::GetObjectA(picture.Get(), sizeof drawnSize, &drawnSize)) return;
    if (drawnSize.bmWidth != size.cx || drawnSize.bmHeight != size.cy) {
      picture.Reset(ShrinkBitmap(static_cast<HBITMAP>(picture.Get()), size.cx, size.cy));
      if (!picture) return;
    }
    shown = picture.Get();
  } else if (!m_bReplaced) {
    return;  // the template's own picture is the one
  } else {
    shown = m_hTemplatePicture;
  }
  const auto previous = reinterpret_cast<HGDIOBJ>(
      SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(shown)));
  if (!m_bReplaced) m_hTemplatePicture = previous;
  m_bReplaced = shown != m_hTemplatePicture;
  m_bmpShown = std::move(picture);  // the picture shown before goes once the control let go of it
}

LRESULT CAboutBanner::OnDpiChangedAfterParent(WPARAM, LPARAM) {
  const RECT place = GetWindowRect();
  ShowAtSize({place.right - place.left, place.bottom - place.top});
  return 0;
}

LRESULT CAboutBanner::OnDestroy(WPARAM wParam, LPARAM lParam) {
  // The control gets its own picture back before ours goes with this object.
  if (m_bReplaced) SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_hTemplatePicture));
  m_bReplaced = false;
  return DefWindowProc(WM_DESTROY, wParam, lParam);
}

namespace ol {

void ShowAboutBox() {
  CAboutDlg dialog;
  dialog.DoModal();
}

}  // namespace ol
