// The settings window's controls: one row each in setup_form_controls.inc, from which their
// identifiers and the creation table are made.
#pragma once

#include <windows.h>

#include <cstddef>

namespace keyboard::win {

enum class ControlKind { kGroupBox, kLabel, kLoweredPanel, kFocusPanel, kButton, kCheckBox, kListBox, kBar };

enum class Control : int {
#define CONTROL(name, kind, caption, x, y, width, height) name,
#include "setup_form_controls.inc"
#undef CONTROL
};

struct ControlRow {
  Control control;
  ControlKind kind;
  const char* caption;
  int x, y, width, height;
};

inline constexpr ControlRow kControls[] = {
#define CONTROL(name, kind, caption, x, y, width, height) \
  {Control::name, ControlKind::kind, caption, x, y, width, height},
#include "setup_form_controls.inc"
#undef CONTROL
};

// The child window identifier of a control (GetDlgItem finds it by this).
constexpr int kFirstControlId = 100;
constexpr int ControlId(Control control) { return kFirstControlId + static_cast<int>(control); }
// The control of a child window identifier; an identifier of no control gives a value no row has.
constexpr Control ControlOfId(int id) { return static_cast<Control>(id - kFirstControlId); }

}  // namespace keyboard::win
