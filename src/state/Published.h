#pragma once

#include <utility>

namespace quorva {

// Writes a published property and announces it, only when the value changes: QML re-evaluates
// every binding on a change signal, and a repeated announcement would also reach screen readers.
// Whether it changed.
template <typename Object, typename Field, typename Value>
bool publish(Object* object, Field& field, Value&& value, void (Object::*changed)())
{
    if (field == value)
        return false;
    field = std::forward<Value>(value);
    (object->*changed)();
    return true;
}

} // namespace quorva
