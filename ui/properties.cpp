#include "ui/properties.h"

#include "platform/gbk.h"
#include "ui/form.h"

#include <algorithm>
#include <atomic>

namespace orvane {
namespace {

constexpr int max_position = 32627;
constexpr int max_size = 32627;

std::atomic<PropertyStore*> current_store{nullptr};

PropertyStore& current() { return *current_store.load(std::memory_order_acquire); }

}

int read_int(Control c, Property p) { return current().read_int(c, p); }
void write_int(Control c, Property p, int value) { current().write_int(c, p, value); }
Bytes read_bytes(Control c, Property p) { return current().read_bytes(c, p); }
void write_bytes(Control c, Property p, std::string_view value) { current().write_bytes(c, p, value); }

PropertyStore::PropertyStore(const Form& form)
    : m_previous(current_store.load())
{
    for (auto& properties : m_values)
        for (int p = 0; p < property_count; ++p)
            properties[p] = holds_bytes(Property(p)) ? Value(Bytes()) : Value(0);

    for (const ControlDef& def : form.controls) {
        slot(def.name, Property::left) = def.left;
        slot(def.name, Property::top) = def.top;
        slot(def.name, Property::width) = def.width;
        slot(def.name, Property::height) = def.height;
        slot(def.name, Property::visible) = int(def.visible);
        slot(def.name, Property::text) = to_gbk(def.text);
        slot(def.name, Property::normal_picture) = Bytes(def.normal_picture);
        slot(def.name, Property::hot_picture) = Bytes(def.hot_picture);
        slot(def.name, Property::pressed_picture) = Bytes(def.pressed_picture);
    }
    // After the controls: the unused rows of a partial form must not overwrite the window.
    slot(Control::main_window, Property::width) = form.window.width;
    slot(Control::main_window, Property::height) = form.window.height;
    slot(Control::main_window, Property::visible) = 0;
    current_store.store(this, std::memory_order_release);
}

PropertyStore::~PropertyStore()
{
    current_store.store(m_previous, std::memory_order_release);
}

int PropertyStore::clamp(Property p, int value)
{
    switch (p) {
    case Property::left:
    case Property::top:
        return std::clamp(value, -max_position, max_position);
    case Property::width:
    case Property::height:
        return std::clamp(value, 0, max_size);
    case Property::visible:
        return value != 0;
    case Property::timer_period:
        return std::max(value, 0);
    default:
        return value;
    }
}

int PropertyStore::read_int(Control c, Property p) const
{
    std::lock_guard lock(m_mutex);
    return std::get<int>(slot(c, p));
}

Bytes PropertyStore::read_bytes(Control c, Property p) const
{
    std::lock_guard lock(m_mutex);
    return std::get<Bytes>(slot(c, p));
}

void PropertyStore::write_int(Control c, Property p, int value)
{
    store_and_announce(c, p, clamp(p, value));
}

void PropertyStore::write_bytes(Control c, Property p, std::string_view value)
{
    store_and_announce(c, p, Bytes(value));
}

void PropertyStore::store_and_announce(Control c, Property p, Value value)
{
    std::vector<WriteListener*> listeners;
    {
        std::lock_guard lock(m_mutex);
        if (p != Property::window_state)
            slot(c, p) = value;
        for (WriteListener* listener : m_listeners)
            listener->written(c, p, value);
        listeners = m_listeners;
    }
    for (WriteListener* listener : listeners)
        listener->settled(c, p, value);
}

void PropertyStore::record_actual(Control c, Property p, Value value)
{
    std::lock_guard lock(m_mutex);
    slot(c, p) = std::move(value);
}

void PropertyStore::add_listener(WriteListener* listener)
{
    std::lock_guard lock(m_mutex);
    m_listeners.push_back(listener);
}

void PropertyStore::remove_listener(WriteListener* listener)
{
    std::lock_guard lock(m_mutex);
    std::erase(m_listeners, listener);
}

}
