// Message maps as tables: a window class lists which command, notification, timer or
// message goes to which of its handlers, and one Dispatch call routes a message by the table.
//
//   const fw::map::Entry<CEffectsPage> CEffectsPage::kMessageMap[] = {
//       fw::map::Command(1048, &CEffectsPage::OnEnableFilter),
//       fw::map::CommandFamily<kCrossoverButtons>(&CEffectsPage::OnCrossover),
//       fw::map::Timer(&CEffectsPage::OnTimer),
//   };
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>

#include "framework/messages.h"

namespace fw::map {

template <class T>
struct Entry {
  using Plain = void (T::*)();
  using WithId = void (T::*)(int);
  using WithTimerId = void (T::*)(std::uintptr_t);
  using Raw = LResult (T::*)(WParam, LParam);

  unsigned message = 0;  // wm::kCommand, wm::kNotify, wm::kTimer or any other message
  unsigned code = 0;     // notification code for commands and notifications
  int firstId = 0;       // control or command id range (commands and notifications)
  int lastId = 0;
  std::variant<Plain, WithId, WithTimerId, Raw> handler;
  bool thenDefault = false;            // the default processing runs after the handler
  bool (*inFamily)(int id) = nullptr;  // set: the ids of a family, in place of the range
};

namespace detail {
// Whether `id` is one of the family's: an element of `rows`, or with `member` the member of
// one of its rows.
template <auto& rows, auto... member>
bool InFamily(int id) {
  static_assert(sizeof...(member) <= 1);
  for (const auto& row : rows) {
    if constexpr (sizeof...(member) == 0) {
      if (row == id) return true;
    } else {
      if ((((row.*member) == id) || ...)) return true;
    }
  }
  return false;
}
}  // namespace detail

// A command (button click, menu item) with notification code `code`.
template <class T>
constexpr Entry<T> Command(int id, void (T::*handler)(), unsigned code = bm::kNotifyClicked) {
  return {wm::kCommand, code, id, id, handler};
}
// One handler for a family of controls; it receives the control id.
template <class T>
constexpr Entry<T> CommandRange(int firstId, int lastId, void (T::*handler)(int),
                                unsigned code = bm::kNotifyClicked) {
  return {wm::kCommand, code, firstId, lastId, handler};
}
// One handler for a family of controls taken from its table: the ids in `rows`, or the
// `member` of each row (CommandFamily<kChannels, &Row::reset>). It receives the control id.
template <auto& rows, auto... member, class T>
constexpr Entry<T> CommandFamily(void (T::*handler)(int), unsigned code = bm::kNotifyClicked) {
  return {wm::kCommand, code, 0, 0, handler, false, &detail::InFamily<rows, member...>};
}
template <class T>
constexpr Entry<T> Notify(unsigned code, int id, void (T::*handler)()) {
  return {wm::kNotify, code, id, id, handler};
}
template <class T>
constexpr Entry<T> NotifyRange(unsigned code, int firstId, int lastId, void (T::*handler)(int)) {
  return {wm::kNotify, code, firstId, lastId, handler};
}
template <auto& rows, auto... member, class T>
constexpr Entry<T> NotifyFamily(unsigned code, void (T::*handler)(int)) {
  return {wm::kNotify, code, 0, 0, handler, false, &detail::InFamily<rows, member...>};
}
template <class T>
constexpr Entry<T> Timer(void (T::*handler)(std::uintptr_t)) {
  return {wm::kTimer, 0, 0, 0, handler};
}
template <class T>
constexpr Entry<T> Message(unsigned message, LResult (T::*handler)(WParam, LParam)) {
  return {message, 0, 0, 0, handler};
}
// A message the handler only looks at: the default processing still does its own work
// (painting, for one, must be validated by it or it comes back for ever).
template <class T>
constexpr Entry<T> MessageThenDefault(unsigned message, void (T::*handler)()) {
  return {message, 0, 0, 0, handler, true};
}

namespace detail {
template <class T>
bool HasId(const Entry<T>& e, int id) {
  return e.inFamily != nullptr ? e.inFamily(id) : id >= e.firstId && id <= e.lastId;
}

template <class T>
bool Matches(const Entry<T>& e, unsigned msg, WParam wParam, LParam lParam, int* id) {
  if (e.message != msg) return false;
  if (msg == wm::kCommand) {
    *id = static_cast<int>(LoWord(wParam));
    return HiWord(wParam) == (e.code & 0xFFFF) && HasId(e, *id);
  }
  if (msg == wm::kNotify) {
    const auto* header = reinterpret_cast<const NmHdr*>(lParam);
    if (header == nullptr) return false;
    *id = static_cast<int>(header->idFrom);
    return header->code == e.code && HasId(e, *id);
  }
  return true;
}
}  // namespace detail

// Routes one message by the table; false when no row takes it.
template <class T, std::size_t N>
bool Dispatch(T* self, const Entry<T> (&map)[N], unsigned msg, WParam wParam, LParam lParam,
              LResult* result) {
  for (const Entry<T>& e : map) {
    int id = 0;
    if (!detail::Matches(e, msg, wParam, lParam, &id)) continue;
    *result = 0;
    if (auto* plain = std::get_if<typename Entry<T>::Plain>(&e.handler)) {
      (self->**plain)();
    } else if (auto* withId = std::get_if<typename Entry<T>::WithId>(&e.handler)) {
      (self->**withId)(id);
    } else if (auto* timer = std::get_if<typename Entry<T>::WithTimerId>(&e.handler)) {
      (self->**timer)(static_cast<std::uintptr_t>(wParam));
    } else if (auto* raw = std::get_if<typename Entry<T>::Raw>(&e.handler)) {
      *result = (self->**raw)(wParam, lParam);
    }
    return !e.thenDefault;
  }
  return false;
}

}  // namespace fw::map
