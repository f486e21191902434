#include "ui/properties.h"

#include "platform/gbk.h"
#include "tests/support/fakes.h"
#include "ui/form.h"

#include <gtest/gtest.h>

namespace orvane::testing {
namespace {

using enum Control;

Form small_form()
{
    Form form{};
    form.window.width = 388;
    form.window.height = 409;
    form.controls[0] = {透明标签2, Kind::transparent_label, main_window, 201, 145, 135, 24, false,
                        "时间", 0, 0, {}, false, {}, {}, {}, nullptr, nullptr, nullptr};
    return form;
}

TEST(PropertyStore, StartsWithTheFormsValues)
{
    PropertyStore store(small_form());
    EXPECT_EQ(store.read_int(main_window, Property::height), 409);
    EXPECT_EQ(store.read_int(透明标签2, Property::left), 201);
    EXPECT_EQ(store.read_int(透明标签2, Property::visible), 0);
    EXPECT_EQ(store.read_bytes(透明标签2, Property::text), to_gbk("时间"));
    EXPECT_TRUE(store.read_bytes(图形按钮5, Property::normal_picture).empty());
}

TEST(PropertyStore, ClampsWhatIsWritten)
{
    struct Case {
        Property property;
        int written, read;
    };
    const Case cases[] = {
        {Property::left, 40000, 32627},  {Property::left, -40000, -32627}, {Property::top, -7, -7},
        {Property::height, -5, 0},       {Property::width, 40000, 32627},  {Property::width, 0, 0},
        {Property::visible, 5, 1},       {Property::visible, 0, 0},        {Property::timer_period, -1, 0},
        {Property::timer_period, 1000, 1000},
    };
    PropertyStore store(small_form());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        write_int(标签3, c.property, c.written);
        EXPECT_EQ(read_int(标签3, c.property), c.read);
    }
}

TEST(PropertyStore, ReadsHandOutCopies)
{
    PropertyStore store(small_form());
    const std::string picture("BM\0\1\2", 5);
    write_bytes(图形按钮5, Property::normal_picture, picture);
    Bytes copy = read_bytes(图形按钮5, Property::normal_picture);
    copy[0] = 'X';
    EXPECT_EQ(read_bytes(图形按钮5, Property::normal_picture), picture);
}

TEST(PropertyStore, WindowStateIsAnActionTheWindowReportsBack)
{
    PropertyStore store(small_form());
    WriteRecorder recorder(store);
    write_int(main_window, Property::window_state, window_restore_centred);
    EXPECT_EQ(read_int(main_window, Property::window_state), window_normal);
    EXPECT_EQ(recorder.values(main_window, Property::window_state), std::vector<int>{1});
    store.record_actual(main_window, Property::window_state, window_minimized);
    EXPECT_EQ(read_int(main_window, Property::window_state), window_minimized);
    EXPECT_EQ(recorder.writes().size(), 1u); // what the window did is not announced
}

TEST(PropertyStore, ListenersHearClampedValuesInOrder)
{
    PropertyStore store(small_form());
    WriteRecorder recorder(store);
    write_int(图片框2, Property::height, 94);
    write_int(图片框2, Property::height, -5);
    write_bytes(编辑框1, Property::text, "a");
    EXPECT_EQ(recorder.values(图片框2, Property::height), (std::vector<int>{94, 0}));
    ASSERT_EQ(recorder.writes().size(), 3u);
    EXPECT_EQ(recorder.writes()[2], (WriteRecorder::Write{编辑框1, Property::text, Bytes("a")}));
}

TEST(PropertyStore, TheNewestStoreIsTheCurrentOneUntilItGoes)
{
    PropertyStore outer(small_form());
    write_int(标签3, Property::left, 1);
    {
        PropertyStore inner(small_form());
        write_int(标签3, Property::left, 2);
        EXPECT_EQ(inner.read_int(标签3, Property::left), 2);
    }
    EXPECT_EQ(read_int(标签3, Property::left), 1);
}

}
}
