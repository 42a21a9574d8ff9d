// The records and message numbers that cross the boundary between the host and every plug-in.
// Platform-free: the cores include this without windows.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace contract {

// A parameter slot holds either the address of a text or a signed 32-bit number. It is as wide as
// a pointer: 32 bits in the shipping build, 64 bits in the 64-bit build, where a number is its
// 32-bit value sign-extended.
using ParamSlot = std::intptr_t;

inline constexpr int kMaxParams = 4;
inline constexpr std::int32_t kKindText = 0;  // any other kind is a number

struct ActionParams {
  std::int32_t count;
  std::int32_t kind[kMaxParams];
  ParamSlot value[kMaxParams];
};

inline constexpr std::size_t kInstanceNameSize = 64;
inline constexpr std::size_t kEventTextSize = 124;

struct EventRecord {
  char instanceName[kInstanceNameSize];
  char eventText[kEventTextSize];
  char ext[4];  // "EXT" when params holds the event's parameters, else zero
  ActionParams params;
};

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(ActionParams) == 36);
static_assert(offsetof(ActionParams, count) == 0);
static_assert(offsetof(ActionParams, kind) == 4);
static_assert(offsetof(ActionParams, value) == 20);
static_assert(sizeof(EventRecord) == 228);
static_assert(offsetof(EventRecord, params) + offsetof(ActionParams, kind) == 196);
static_assert(offsetof(EventRecord, params) + offsetof(ActionParams, value) == 212);
#else
static_assert(sizeof(ActionParams) == 56);
static_assert(offsetof(ActionParams, count) == 0);
static_assert(offsetof(ActionParams, kind) == 4);
static_assert(offsetof(ActionParams, value) == 24);
static_assert(sizeof(EventRecord) == 248);
#endif
static_assert(offsetof(EventRecord, instanceName) == 0);
static_assert(offsetof(EventRecord, eventText) == 64);
static_assert(offsetof(EventRecord, ext) == 188);
static_assert(offsetof(EventRecord, params) == 192);

// Messages to the host window.
inline constexpr unsigned kWmUser = 0x0400;
inline constexpr unsigned WM_PLUGIN_EVENT = kWmUser + 1;        // sent; WPARAM = &EventRecord
inline constexpr unsigned WM_PLUGIN_ACTION_DONE = kWmUser + 2;  // posted; WPARAM = action id
inline constexpr unsigned WM_PLUGIN_LOG = kWmUser + 5;          // sent; WPARAM = text

// Repeat state carried in LPARAM of WM_PLUGIN_EVENT: 0 pressed, n > 0 the n-th repeat.
inline constexpr std::intptr_t kEventReleased = -1;

// The longest text the invalid-parameters report may hold, without its NUL.
inline constexpr std::size_t kReportMaxLength = 255;

}  // namespace contract
