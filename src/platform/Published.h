#pragma once

#include <utility>

namespace quorva {

// Writes a published property and announces it, only when the value changes: QML re-evaluates
// every binding on a change signal, and a repeated announcement would also reach screen readers.
// A signal that carries the value gets the new one. Whether it changed.
template <typename Object, typename Field, typename Value, typename... Carried>
bool publish(Object* object, Field& field, Value&& value, void (Object::*changed)(Carried...))
{
    static_assert(sizeof...(Carried) <= 1, "a change signal carries the value or nothing");
    if (field == value)
        return false;
    field = std::forward<Value>(value);
    if constexpr (sizeof...(Carried) == 0)
        (object->*changed)();
    else
        (object->*changed)(field);
    return true;
}

} // namespace quorva
