#include "setup_form.h"

#include <commctrl.h>

#include <array>
#include <optional>
#include <string>

#include "contract/win/exports.h"
#include "contract/win/unique_handle.h"
#include "remote_constants.h"

namespace sendaro::win {
namespace {

using contract::win::Unique;
using contract::win::UniqueWindow;
using UniqueIcon = Unique<HICON, &DestroyIcon>;
using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueBitmap = Unique<HBITMAP, &DeleteObject>;

constexpr char kClassName[] = "TSetupForm";
constexpr int kClientWidth = 492;
constexpr int kClientHeight = 183;
constexpr int kBottomPanelHeight = 32;
constexpr int kLeftPanelWidth = 261;
constexpr int kImageWidth = 54;
constexpr int kTestGroupHeight = 61;
constexpr int kAboveBottomPanel = kClientHeight - kBottomPanelHeight;  // 151
constexpr int kEditWidth = 33;
constexpr int kEditHeight = 21;
constexpr int kSpinWidth = 16;
constexpr int kLabelHeight = 13;
constexpr int kCodeColumnWidth = 60;
constexpr int kKeyColumnWidth = 111;

// Control identifiers: the Close button is the default (IDOK); the spin fields follow the table.
enum ControlId : int {
  kCloseButton = IDOK,
  kTestGroup = 100,
  kCodeLabel,
  kKeyLabel,
  kTimingGroup,
  kImage,
  kGrid,
  kFirstEdit = 200,
  kFirstSpin = 300,
  kFirstSpinLabel = 400,
};
constexpr std::size_t kFieldCount = std::size(kSpinFields);

// Asks the window to show the help message once the activation is over.
constexpr UINT kShowHelpMessage = WM_APP + 1;

// Registered while a window exists, so a reloaded plug-in never meets a class with a stale procedure.
class WindowClass {
 public:
  explicit WindowClass(WNDPROC procedure) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = contract::win::ThisModule();
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    registered_ = RegisterClassA(&windowClass) != 0;
  }
  ~WindowClass() {
    if (registered_) UnregisterClassA(kClassName, contract::win::ThisModule());
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

 private:
  bool registered_ = false;
};

// The plug-in's picture, used for the icon and for Image1: a remote control with a red power
// button and two rows of keys, scaled into `box`.
void DrawRemote(HDC dc, const RECT& box, bool silhouette) {
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  const int bodyWidth = width * 9 / 16;
  const int bodyHeight = height * 15 / 16;
  const int left = box.left + (width - bodyWidth) / 2;
  const int top = box.top + (height - bodyHeight) / 2;
  const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(silhouette ? BLACK_PEN : DC_PEN));
  const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(silhouette ? BLACK_BRUSH : DC_BRUSH));
  SetDCPenColor(dc, RGB(32, 32, 40));
  SetDCBrushColor(dc, RGB(64, 68, 80));
  const int corner = bodyWidth / 3;
  RoundRect(dc, left, top, left + bodyWidth, top + bodyHeight, corner, corner);
  if (!silhouette) {
    const int key = std::max(2, bodyWidth / 5);
    auto ellipse = [&](int x, int y, COLORREF color) {
      SetDCBrushColor(dc, color);
      Ellipse(dc, x, y, x + key, y + key);
    };
    ellipse(left + bodyWidth - key - key / 2, top + key / 2, RGB(220, 40, 40));
    const COLORREF keyColours[] = {RGB(200, 200, 210), RGB(90, 170, 230), RGB(110, 200, 110)};
    for (int row = 0; row < 3; ++row) {
      for (int column = 0; column < 3; ++column) {
        const int x = left + key / 2 + column * (bodyWidth - key) / 3 + (column * key) / 6;
        const int y = top + key * 2 + row * key * 3 / 2;
        if (y + key < top + bodyHeight - key / 2) ellipse(x, y, keyColours[row]);
      }
    }
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
}

UniqueIcon MakeIcon() {
  constexpr int kSize = 32;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  UniqueBitmap colour(CreateCompatibleBitmap(screen, kSize, kSize));
  UniqueBitmap mask(CreateBitmap(kSize, kSize, 1, 1, nullptr));
  const RECT box{0, 0, kSize, kSize};
  HGDIOBJ old = SelectObject(dc, colour.get());
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  DrawRemote(dc, box, false);
  // The mask is white where the screen shows through, black under the picture.
  SelectObject(dc, mask.get());
  FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawRemote(dc, box, true);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.get();
  info.hbmColor = colour.get();
  return UniqueIcon(CreateIconIndirect(&info));
}

// Positions inside the client area.
struct Box {
  int x, y, width, height;
};
constexpr Box kTestGroupBox{0, 0, kLeftPanelWidth, kTestGroupHeight};
constexpr Box kTimingGroupBox{0, kTestGroupHeight, kLeftPanelWidth, kAboveBottomPanel - kTestGroupHeight};
constexpr Box kGridBox{kLeftPanelWidth, 0, kClientWidth - kLeftPanelWidth - kImageWidth, kAboveBottomPanel};
constexpr Box kImageBox{kClientWidth - kImageWidth, 0, kImageWidth, kAboveBottomPanel};
constexpr Box kCloseBox{4, kAboveBottomPanel + 4, 75, 25};

}  // namespace

struct SetupForm::Window {
  explicit Window(SetupFormContext context);
  ~Window() {
    if (ownerDisabled) EnableWindow(context.owner, TRUE);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  HWND Control(int x, int y, int width, int height, const char* className, const char* text, DWORD style, int id,
               DWORD exStyle = 0);
  void CreateControls();
  void FormShow();
  void FormActivate(WPARAM wParam, LPARAM lParam);
  void SpinChanging(std::size_t field, const NMUPDOWN& change);
  void Pressed(WPARAM wParam, LPARAM lParam);
  void Released();
  void ShowPending();
  LRESULT DrawGridRow(NMLVCUSTOMDRAW& draw);
  void Hide();
  bool Navigate(const MSG& message);
  void ShowModal();

  SetupFormContext context;
  SetupView view;
  WindowClass windowClass{&Procedure};
  UniqueFont font;
  UniqueIcon icon;
  UniqueWindow window;
  HWND testGroup = nullptr;
  HWND codeLabel = nullptr;
  HWND keyLabel = nullptr;
  HWND grid = nullptr;
  std::array<HWND, kFieldCount> spins{};
  bool shown = false;
  bool ownerDisabled = false;
  bool helpPending = false;
  // What the reports handled so far leave to show. Shown when no later press waits in the queue,
  // so a fast stream of presses costs one redraw per burst, not one per press, and the window
  // keeps up with it; the end state is the same as showing each press.
  const char* pendingCaption = nullptr;
  std::optional<PressLabels> pendingLabels;
  std::optional<std::size_t> pendingRow;
};

SetupForm::Window::Window(SetupFormContext formContext) : context(std::move(formContext)) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  // MS Sans Serif 8 point at 96 dots per inch; the window is not scaled.
  font = UniqueFont(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
  icon = MakeIcon();
  // A fixed single border with the close box only.
  // Without WS_CLIPCHILDREN: the group boxes leave their inside for the form to paint.
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND owner = IsWindow(context.owner) ? context.owner : nullptr;
  // The window procedure takes ownership of the handle at its first message.
  CreateWindowExA(0, kClassName, kDescription, kStyle, x, y, width, height, owner, nullptr, contract::win::ThisModule(),
                  this);
  if (!window) return;
  SendMessageA(window.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
  SendMessageA(window.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
}

HWND SetupForm::Window::Control(int x, int y, int width, int height, const char* className, const char* text,
                                DWORD style, int id, DWORD exStyle) {
  HWND control = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, width,
                                 height, window.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 contract::win::ThisModule(), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  return control;
}

void SetupForm::Window::CreateControls() {
  // Created front to back: the group boxes come after what they hold, so they never paint over it.
  const Box& test = kTestGroupBox;
  codeLabel = Control(test.x + 12, test.y + 20, 240, kLabelHeight, "STATIC", kCodeLabelCaption,
                      SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX, kCodeLabel);
  keyLabel = Control(test.x + 12, test.y + 40, 240, kLabelHeight, "STATIC", "",
                     SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX, kKeyLabel);
  const Box& timing = kTimingGroupBox;
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const SpinField& field = kSpinFields[i];
    const int id = static_cast<int>(i);
    const std::string label(field.label);
    Control(timing.x + field.labelX, timing.y + field.labelY, field.editX - field.labelX - 4, kLabelHeight, "STATIC",
            label.c_str(), SS_LEFT | SS_NOPREFIX, kFirstSpinLabel + id);
    HWND edit = Control(timing.x + field.editX, timing.y + field.editY, kEditWidth, kEditHeight, "EDIT", "",
                        ES_READONLY | ES_LEFT | WS_TABSTOP, kFirstEdit + id, WS_EX_CLIENTEDGE);
    HWND spin = Control(timing.x + field.editX + kEditWidth, timing.y + field.editY, kSpinWidth, kEditHeight,
                        UPDOWN_CLASSA, "", UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, kFirstSpin + id);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageA(spin, UDM_SETRANGE32, static_cast<WPARAM>(field.minimum), field.maximum);
    UDACCEL step{0, static_cast<UINT>(field.step)};
    SendMessageA(spin, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    SendMessageA(spin, UDM_SETPOS32, 0, (context.timings->*field.setting.member).load());
    spins[i] = spin;
  }
  testGroup = Control(test.x, test.y, test.width, test.height, "BUTTON", kMonitoringCaption, BS_GROUPBOX, kTestGroup);
  Control(timing.x, timing.y, timing.width, timing.height, "BUTTON", kTimingCaption, BS_GROUPBOX, kTimingGroup);

  grid =
      Control(kGridBox.x, kGridBox.y, kGridBox.width, kGridBox.height, WC_LISTVIEWA, "",
              LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP, kGrid, WS_EX_CLIENTEDGE);
  SendMessageA(grid, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const std::pair<const char*, int> columns[] = {{kCodeColumn, kCodeColumnWidth}, {kKeyColumn, kKeyColumnWidth}};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(columns[i].first);
    column.cx = columns[i].second;
    column.iSubItem = i;
    SendMessageA(grid, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  Control(kImageBox.x, kImageBox.y, kImageBox.width, kImageBox.height, "STATIC", "", SS_OWNERDRAW, kImage);
  Control(kCloseBox.x, kCloseBox.y, kCloseBox.width, kCloseBox.height, "BUTTON", kCloseCaption,
          BS_DEFPUSHBUTTON | WS_TABSTOP, kCloseButton);
}

void SetupForm::Window::FormShow() {
  view.Show(*context.codes);
  SendMessageA(grid, WM_SETREDRAW, FALSE, 0);
  SendMessageA(grid, LVM_DELETEALLITEMS, 0, 0);
  SendMessageA(grid, LVM_SETITEMCOUNT, view.rows().size(), 0);
  int index = 0;
  for (const auto& [code, key] : view.rows()) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = index++;
    item.pszText = const_cast<char*>(code.c_str());
    const int inserted = static_cast<int>(SendMessageA(grid, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    item.iSubItem = 1;
    item.pszText = const_cast<char*>(key.c_str());
    SendMessageA(grid, LVM_SETITEMTEXTA, static_cast<WPARAM>(inserted), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(grid, WM_SETREDRAW, TRUE, 0);
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    SendMessageA(spins[i], UDM_SETPOS32, 0, (context.timings->*kSpinFields[i].setting.member).load());
  }
}

void SetupForm::Window::FormActivate(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == WA_INACTIVE || context.libraryBound || helpPending) return;
  // Coming back from the help message itself is no new activation, or it would never end.
  HWND previous = reinterpret_cast<HWND>(lParam);
  if (previous && GetWindow(previous, GW_OWNER) == window.get()) return;
  helpPending = true;
  PostMessageA(window.get(), kShowHelpMessage, 0, 0);
}

void SetupForm::Window::SpinChanging(std::size_t field, const NMUPDOWN& change) {
  const SpinField& spin = kSpinFields[field];
  // The threads read the setting at its next use.
  (context.timings->*spin.setting.member).store(SpinTarget(spin, change.iPos, change.iDelta));
}

void SetupForm::Window::Pressed(WPARAM wParam, LPARAM lParam) {
  pendingCaption = kPressedCaption;
  const std::uint64_t code =
      (std::uint64_t{static_cast<std::uint32_t>(wParam)} << 32) | static_cast<std::uint32_t>(lParam);
  // Every press message has its text waiting, also one whose labels stay as they are.
  std::optional<std::string> text = context.link ? context.link->texts.Take(code) : std::nullopt;
  if (!text) {
    char codeText[kCodeTextSize];
    FormatCodeText(code, codeText);
    text = codeText;
  }
  if (std::optional<PressLabels> labels = view.Pressed(code, *text)) {
    if (labels->row) pendingRow = labels->row;
    pendingLabels = std::move(labels);
  }
  ShowPending();
}

void SetupForm::Window::Released() {
  pendingCaption = kReleasedCaption;
  ShowPending();
}

void SetupForm::Window::ShowPending() {
  if (context.link && !context.link->texts.empty()) return;
  if (pendingCaption) SetWindowTextA(testGroup, pendingCaption);
  pendingCaption = nullptr;
  if (pendingLabels) {
    SetWindowTextA(codeLabel, pendingLabels->code.c_str());
    SetWindowTextA(keyLabel, pendingLabels->key.c_str());
    pendingLabels.reset();
  }
  if (!pendingRow) return;
  const int row = static_cast<int>(*pendingRow);
  pendingRow.reset();
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(grid, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
  SendMessageA(grid, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

// The selected row in the selection colours also while the grid has no focus, as the user's eyes
// are on the remote, not on the window, when a press selects it.
LRESULT SetupForm::Window::DrawGridRow(NMLVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const auto row = static_cast<WPARAM>(draw.nmcd.dwItemSpec);
  if (SendMessageA(grid, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) {
    draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
  }
  return CDRF_DODEFAULT;
}

void SetupForm::Window::Hide() {
  if (!shown) return;
  shown = false;
  // The owner is enabled before the window goes, so it gets the activation back.
  if (ownerDisabled) EnableWindow(context.owner, TRUE);
  ownerDisabled = false;
  // Not hidden here: Setup destroys it a moment later, and hiding a window first waits for a
  // window manager that an X server may not have.
  if (context.saveInterval) context.saveInterval();
  // Closed from a sent message, the modal loop would wait in GetMessage for the next posted one.
  PostMessageA(window.get(), WM_NULL, 0, 0);
}

LRESULT CALLBACK SetupForm::Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window = UniqueWindow(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  return contract::win::Guarded(LRESULT{0}, [&] { return self->Handle(message, wParam, lParam); });
}

LRESULT SetupForm::Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = window.get();
  switch (message) {
    case WM_CREATE:
      CreateControls();
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      window.release();
      return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_CLOSE:
      Hide();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseButton && HIWORD(wParam) == BN_CLICKED) Hide();
      return 0;
    case WM_ACTIVATE:
      FormActivate(wParam, lParam);
      break;
    case kShowHelpMessage:
      MessageBoxA(hwnd, kSetupHelp, kDescription, MB_OK | MB_ICONEXCLAMATION);
      helpPending = false;
      return 0;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.code == NM_CUSTOMDRAW && header.idFrom == kGrid) {
        return DrawGridRow(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
      }
      const auto spin = static_cast<std::size_t>(header.idFrom - kFirstSpin);
      if (header.code == UDN_DELTAPOS && spin < kFieldCount) {
        SpinChanging(spin, *reinterpret_cast<const NMUPDOWN*>(lParam));
        return 0;  // allowed
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item.CtlID != kImage) break;
      FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
      DrawRemote(item.hDC,
                 RECT{item.rcItem.left + 6, item.rcItem.top + 30, item.rcItem.right - 6, item.rcItem.bottom - 30},
                 false);
      return TRUE;
    }
    case WM_REMOTE_PRESSED:
      Pressed(wParam, lParam);
      return 0;
    case WM_REMOTE_RELEASED:
      Released();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The keys a dialog would handle: Enter presses the default button, Tab moves between controls.
// (Not IsDialogMessage: it asks the window for its default button with WM_USER, the number of a
// press report.)
bool SetupForm::Window::Navigate(const MSG& message) {
  if (message.message != WM_KEYDOWN || !IsChild(window.get(), message.hwnd)) return false;
  if (message.wParam == VK_RETURN) {
    SendMessageA(window.get(), WM_COMMAND, MAKEWPARAM(kCloseButton, BN_CLICKED), 0);
    return true;
  }
  if (message.wParam == VK_TAB) {
    const bool back = GetKeyState(VK_SHIFT) < 0;
    if (HWND next = GetNextDlgTabItem(window.get(), message.hwnd, back)) SetFocus(next);
    return true;
  }
  return false;
}

void SetupForm::Window::ShowModal() {
  if (!window) return;
  FormShow();
  if (context.owner && IsWindow(context.owner) && IsWindowEnabled(context.owner)) {
    EnableWindow(context.owner, FALSE);
    ownerDisabled = true;
  }
  shown = true;
  ShowWindow(window.get(), SW_SHOWNORMAL);
  SetForegroundWindow(window.get());
  UpdateWindow(window.get());
  MSG message;
  while (shown) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // A quit request ends the window and is left for the host's own loop.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      Hide();
      break;
    }
    if (Navigate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

SetupForm::SetupForm(SetupFormContext context) : window_(std::make_unique<Window>(std::move(context))) {}
SetupForm::~SetupForm() = default;
HWND SetupForm::hwnd() const noexcept { return window_->window.get(); }
void SetupForm::ShowModal() { window_->ShowModal(); }

}  // namespace sendaro::win
