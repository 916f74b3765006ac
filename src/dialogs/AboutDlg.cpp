#include "dialogs/AboutDlg.h"

#include "res/resource.h"

namespace {

constexpr const char* kMailUrl = "mailto:support@example.com";
constexpr const char* kWebUrl = "http://www.example.com/";
// Blue, red under the pointer, still blue once visited, never in the active colour.
constexpr DWORD kAddedLinkStyle = CHyperLink::LinkNoActiveColor | CHyperLink::LinkHoverColor;

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
  return true;  // the focus goes to the first control that takes it: OK
}

namespace ol {

void ShowAboutBox() {
  CAboutDlg dialog;
  dialog.DoModal();
}

}  // namespace ol
