#pragma once

#include "app/form.h"
#include "toolkit/main_window.h"
#include "ui/properties.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace orvane::testing {

// The real form with every handler taken out, so that a test binds only the ones it watches.
inline Form form_without_handlers()
{
    Form form = main_form();
    form.window.created = form.window.position_changed = form.window.size_changed = nullptr;
    form.window.will_be_destroyed = nullptr;
    form.window.tray_event = nullptr;
    for (ControlDef& def : form.controls) {
        def.clicked = def.tick = nullptr;
        def.left_pressed = nullptr;
    }
    return form;
}

inline ControlDef& def_of(Form& form, Control name)
{
    for (ControlDef& def : form.controls)
        if (def.name == name)
            return def;
    throw std::invalid_argument("no such control");
}

class WindowTest : public ::testing::Test {
protected:
    explicit WindowTest(Form f = form_without_handlers())
        : form(f)
        , store(form)
        , window(form, store)
    {
    }

    QWidget* widget(Control c) const { return window.widget(c); }

    void show_window()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    Form form;
    PropertyStore store;
    MainWindow window;
};

}
