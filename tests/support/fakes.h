#pragma once

#include "ui/desktop.h"
#include "ui/properties.h"

#include <mutex>
#include <string>
#include <tuple>
#include <vector>

namespace orvane::testing {

// Records every property write in the order the store took it.
class WriteRecorder : public WriteListener {
public:
    struct Write {
        Control control;
        Property property;
        Value value;
        bool operator==(const Write&) const = default;
    };

    explicit WriteRecorder(PropertyStore& store) : m_store(store) { store.add_listener(this); }
    ~WriteRecorder() override { m_store.remove_listener(this); }

    void written(Control c, Property p, const Value& v) override
    {
        std::lock_guard lock(m_mutex);
        m_writes.push_back({c, p, v});
    }

    std::vector<Write> writes() const
    {
        std::lock_guard lock(m_mutex);
        return m_writes;
    }

    // The integer values written to one property, in order.
    std::vector<int> values(Control c, Property p) const
    {
        std::vector<int> out;
        for (const Write& w : writes())
            if (w.control == c && w.property == p)
                out.push_back(std::get<int>(w.value));
        return out;
    }

private:
    PropertyStore& m_store;
    mutable std::mutex m_mutex;
    std::vector<Write> m_writes;
};

// A desktop that only records what it was asked; installed for the lifetime of the object.
class FakeDesktop : public Desktop {
public:
    FakeDesktop() { set_desktop(this); }
    ~FakeDesktop() override { set_desktop(nullptr); }

    void set_tray_icon(std::string_view icon, std::string_view tooltip) override
    {
        std::lock_guard lock(mutex);
        tray_icon = icon;
        tray_tooltip = tooltip;
        calls.push_back("set_tray_icon");
    }
    void remove_tray_icon() override { log("remove_tray_icon"); tray_icon.clear(); }
    bool tray_icon_shown() const override { return tray_host && !tray_icon.empty(); }
    void set_transparency(int alpha) override
    {
        std::lock_guard lock(mutex);
        alphas.push_back(alpha);
    }
    void destroy_window() override { log("destroy_window"); }
    void open_address(std::string_view url) override
    {
        std::lock_guard lock(mutex);
        opened.emplace_back(url);
    }
    void show_stop_message(std::string_view text, std::string_view title) override
    {
        std::lock_guard lock(mutex);
        messages.emplace_back(text, title);
    }
    void exit_process(int code) override
    {
        std::lock_guard lock(mutex);
        exit_codes.push_back(code);
    }

    void log(std::string call)
    {
        std::lock_guard lock(mutex);
        calls.push_back(std::move(call));
    }

    mutable std::mutex mutex;
    bool tray_host = true;
    std::string tray_icon, tray_tooltip;
    std::vector<std::string> calls;
    std::vector<int> alphas;
    std::vector<std::string> opened;
    std::vector<std::pair<std::string, std::string>> messages;
    std::vector<int> exit_codes;
};

}
