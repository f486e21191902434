#pragma once

#include "ui/controls.h"

#include <array>
#include <mutex>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvane {

struct Form;

using Bytes = std::string;               // GBK text, or the bytes of a picture file
using Value = std::variant<int, Bytes>;

// The control property model, as behaviour code uses it: callable from any thread, each call
// applied whole, the calls of one thread in their order, and a read after a write on the same
// thread gives the value written (after clamping). Nothing here waits for the GUI thread.
[[nodiscard]] int read_int(Control, Property);
void write_int(Control, Property, int);
[[nodiscard]] Bytes read_bytes(Control, Property);
void write_bytes(Control, Property, std::string_view);

// Hears of every write: the toolkit, to apply it to the widgets; tests, to record it.
class WriteListener {
public:
    virtual ~WriteListener() = default;
    // Runs on the writer's thread with the store locked, right after the write took effect in
    // the store, so calls come in store order. It must not call back into the store.
    virtual void written(Control, Property, const Value& value) = 0;
    // Runs on the writer's thread right after the store was unlocked again.
    virtual void settled(Control, Property, const Value&) {}
};

// Holds the current value of every property, guarded by one mutex. Constructing a store makes
// it the one that the free functions above talk to, until it is destroyed.
class PropertyStore {
public:
    explicit PropertyStore(const Form&);
    ~PropertyStore();
    PropertyStore(const PropertyStore&) = delete;
    PropertyStore& operator=(const PropertyStore&) = delete;

    [[nodiscard]] int read_int(Control, Property) const;
    [[nodiscard]] Bytes read_bytes(Control, Property) const;
    // Clamps as the property demands. A write of window_state is an action, not a value: the
    // store passes it on and keeps reporting the window's real state.
    void write_int(Control, Property, int);
    void write_bytes(Control, Property, std::string_view);

    // What the window changed by itself (typing in an edit box, a new window state, a move by
    // the window manager). Listeners do not hear of it.
    void record_actual(Control, Property, Value);

    void add_listener(WriteListener*);
    void remove_listener(WriteListener*);

    static int clamp(Property, int value);

private:
    Value& slot(Control c, Property p) { return m_values[int(c)][int(p)]; }
    const Value& slot(Control c, Property p) const { return m_values[int(c)][int(p)]; }
    void store_and_announce(Control, Property, Value);

    mutable std::mutex m_mutex;
    std::array<std::array<Value, property_count>, control_count> m_values;
    std::vector<WriteListener*> m_listeners;
    PropertyStore* m_previous;
};

}
