#include "setup_window_driver.h"

#include <commctrl.h>

#include <vector>

namespace sendaro_test {
namespace {

// Top-left corners of Edit1..Edit4 in the client area; each spin control sits right after its edit.
constexpr POINT kEdits[] = {{104, 73}, {104, 97}, {104, 121}, {204, 73}};
constexpr int kEditWidth = 33;

std::atomic<int> g_pressed{0};
std::atomic<int> g_released{0};
std::atomic<HWND> g_countedForm{nullptr};

LRESULT CALLBACK CountReports(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->hwnd == g_countedForm.load()) {
    if (message->message == WM_USER) ++g_pressed;
    if (message->message == WM_USER + 1) ++g_released;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

HWND WaitForSetupWindow(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    HWND form = FindWindowA("TSetupForm", nullptr);
    if (form && IsWindowVisible(form)) return form;
    Sleep(5);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND SetupWindowDriver::At(const char* className, int x, int y) const {
  struct Search {
    HWND form;
    const char* className;
    POINT corner;
    HWND found = nullptr;
  } search{form_, className, {x, y}};
  EnumChildWindows(
      form_,
      [](HWND child, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        char name[64];
        GetClassNameA(child, name, sizeof name);
        RECT rect;
        GetWindowRect(child, &rect);
        POINT corner{rect.left, rect.top};
        ScreenToClient(s.form, &corner);
        if (lstrcmpiA(name, s.className) == 0 && corner.x == s.corner.x && corner.y == s.corner.y &&
            GetParent(child) == s.form) {
          s.found = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string SetupWindowDriver::Text(HWND window) {
  const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

bool SetupWindowDriver::WaitText(HWND window, std::string_view text, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (Text(window) == text) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(5);
  }
}

HWND SetupWindowDriver::Edit(int field) const { return At("Edit", kEdits[field].x, kEdits[field].y); }
HWND SetupWindowDriver::Spin(int field) const {
  return At(UPDOWN_CLASSA, kEdits[field].x + kEditWidth, kEdits[field].y);
}

void SetupWindowDriver::ClickArrow(HWND spin, bool up) {
  RECT rect;
  GetClientRect(spin, &rect);
  const LPARAM point = MAKELPARAM(rect.right / 2, up ? rect.bottom / 4 : rect.bottom * 3 / 4);
  SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageA(spin, WM_LBUTTONUP, 0, point);
}

HWND SetupWindowDriver::grid() const { return At(WC_LISTVIEWA, 261, 0); }

int SetupWindowDriver::RowCount() const { return static_cast<int>(SendMessageA(grid(), LVM_GETITEMCOUNT, 0, 0)); }

std::string SetupWindowDriver::Cell(int row, int column) const {
  std::vector<char> text(2048);
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  SendMessageA(grid(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text.data();
}

int SetupWindowDriver::SelectedRow() const {
  return static_cast<int>(SendMessageA(grid(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SetupWindowDriver::SelectRow(int row) const {
  LVITEMA state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(grid(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

void SetupWindowDriver::ClickClose() const { SendMessageA(At("Button", 4, 155), BM_CLICK, 0, 0); }

ReportCounter::ReportCounter(HWND form) {
  g_pressed = 0;
  g_released = 0;
  g_countedForm = form;
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, &CountReports, nullptr, GetWindowThreadProcessId(form, nullptr));
}

ReportCounter::~ReportCounter() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_countedForm = nullptr;
}

int ReportCounter::pressed() const { return g_pressed.load(); }
int ReportCounter::released() const { return g_released.load(); }

SetupWindowSession::SetupWindowSession(std::function<void(SetupWindowDriver&)> steps) {
  thread_ = std::thread([this, steps = std::move(steps)] {
    HWND form = WaitForSetupWindow(10000);
    if (!form) return;
    found_ = true;
    SetupWindowDriver driver(form);
    if (steps) steps(driver);
    if (IsWindow(form) && IsWindowVisible(form)) driver.ClickClose();
  });
}

SetupWindowSession::~SetupWindowSession() { Wait(); }

void SetupWindowSession::Wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace sendaro_test
