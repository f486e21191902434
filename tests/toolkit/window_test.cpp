#include "tests/toolkit/window_fixture.h"

#include "assets/assets.h"
#include "platform/gbk.h"
#include "tests/support/fakes.h"
#include "toolkit/timer.h"

#include <QLineEdit>
#include <QScreen>

#include <thread>

namespace orvane::testing {
namespace {

using enum Control;

TEST_F(WindowTest, LoadedHiddenWithTheFormsControlsOnShow)
{
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.size(), QSize(388, 409));
    for (const ControlDef& def : form.controls) {
        SCOPED_TRACE(int(def.name));
        if (def.kind == Kind::timer) {
            EXPECT_EQ(window.timer(def.name)->period(), 0);
            continue;
        }
        const QWidget* w = widget(def.name);
        EXPECT_EQ(w->isVisibleTo(&window), def.name != 透明标签2);
        EXPECT_EQ(w->geometry(), QRect(def.left, def.top, def.width, def.height));
        EXPECT_EQ(w->focusPolicy() != Qt::NoFocus, def.kind == Kind::edit_box);
    }
    EXPECT_EQ(widget(图形按钮5)->parentWidget(), widget(图片框2));
    EXPECT_EQ(window.childAt(30, 323), widget(图片框2)); // the open panel hides the box
    write_int(图片框2, Property::height, 0);
    EXPECT_EQ(window.childAt(30, 323), widget(图形按钮1)); // the box is seen unticked
    EXPECT_EQ(window.childAt(220, 150), widget(编辑框1));
    EXPECT_TRUE(store.read_bytes(图形按钮5, Property::normal_picture).empty());
}

TEST_F(WindowTest, StackingPutsEarlierControlsOnTop)
{
    widget(透明标签2)->show();
    EXPECT_EQ(window.childAt(220, 150), widget(透明标签2));   // over 编辑框1
    EXPECT_EQ(window.childAt(150, 240), widget(超级链接框1));  // over 标签5
    EXPECT_EQ(window.childAt(60, 320), widget(图片框2));       // the open panel over 标签1
}

TEST_F(WindowTest, OpensCentredOnThePrimaryScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.pos(), QPoint((screen.width() - 388) / 2, (screen.height() - 409) / 2));
}

TEST_F(WindowTest, RestoreCentresAndReadsBackNormal)
{
    show_window();
    window.move(3, 4);
    write_int(main_window, Property::window_state, window_restore_centred);
    EXPECT_EQ(read_int(main_window, Property::window_state), window_normal);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window.pos(), QPoint((screen.width() - 388) / 2, (screen.height() - 409) / 2));
}

TEST_F(WindowTest, MinimizeIsReadFromTheRealWindow)
{
    show_window();
    write_int(main_window, Property::window_state, window_minimized);
    EXPECT_TRUE(window.isMinimized());
    EXPECT_EQ(read_int(main_window, Property::window_state), window_minimized);
    write_int(main_window, Property::window_state, window_restore_centred);
    EXPECT_EQ(read_int(main_window, Property::window_state), window_normal);
}

TEST_F(WindowTest, StateWrittenWhileHiddenIsAppliedWhenShown)
{
    write_int(main_window, Property::window_state, window_minimized);
    EXPECT_FALSE(window.isMinimized());
    write_int(main_window, Property::visible, 1);
    EXPECT_TRUE(window.isMinimized());
}

TEST_F(WindowTest, WritesReachTheWidgetsClamped)
{
    write_int(图片框2, Property::height, -5);
    EXPECT_EQ(read_int(图片框2, Property::height), 0);
    EXPECT_EQ(widget(图片框2)->height(), 0);
    write_int(标签3, Property::left, 40000);
    EXPECT_EQ(read_int(标签3, Property::left), 32627);
    EXPECT_EQ(widget(标签3)->x(), 32627);
    write_int(main_window, Property::height, 509);
    EXPECT_EQ(window.height(), 509);
}

TEST_F(WindowTest, PicturesReadBackByteForByte)
{
    write_bytes(图形按钮5, Property::normal_picture, assets::start_normal);
    const Bytes copy = read_bytes(图形按钮5, Property::normal_picture);
    EXPECT_EQ(copy, Bytes(assets::start_normal));
    EXPECT_EQ(copy.size(), 6296u);
}

TEST_F(WindowTest, TypedTextIsReadBackUnchanged)
{
    show_window();
    auto* edit = static_cast<QLineEdit*>(widget(编辑框1));
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("  server.example "));
    edit->insert(QStringLiteral("服务器 1 ")); // as pasted
    EXPECT_EQ(read_bytes(编辑框1, Property::text), to_gbk("  server.example 服务器 1 "));
    EXPECT_EQ(edit->maxLength(), std::numeric_limits<int>::max());
}

TEST_F(WindowTest, WrittenTextShowsInTheWidget)
{
    write_bytes(编辑框2, Property::text, to_gbk("收件人@example.com"));
    EXPECT_EQ(static_cast<QLineEdit*>(widget(编辑框2))->text(), QStringLiteral("收件人@example.com"));
}

TEST_F(WindowTest, EqualPeriodKeepsTheTimersPhase)
{
    write_int(时钟11, Property::timer_period, 1000);
    QTest::qWait(300);
    const int before = window.timer(时钟11)->remaining_ms();
    write_int(时钟11, Property::timer_period, 1000);
    EXPECT_LE(window.timer(时钟11)->remaining_ms(), before);
    write_int(时钟11, Property::timer_period, 900);
    EXPECT_GT(window.timer(时钟11)->remaining_ms(), before);
    write_int(时钟11, Property::timer_period, -7);
    EXPECT_EQ(read_int(时钟11, Property::timer_period), 0);
    EXPECT_EQ(window.timer(时钟11)->period(), 0);
}

int ticks = 0;

class TickingWindowTest : public WindowTest {
protected:
    TickingWindowTest() : WindowTest(with_tick()) { ticks = 0; }
    static Form with_tick()
    {
        Form f = form_without_handlers();
        def_of(f, 时钟12).tick = [] { ++ticks; };
        return f;
    }
};

TEST_F(TickingWindowTest, TicksDueWhileBusyComeAsOne)
{
    write_int(时钟12, Property::timer_period, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // the GUI thread is busy
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(QTest::qWaitFor([] { return ticks >= 3; }));
}

// Workers write and read while the GUI thread is blocked: none of them waits for it, each
// reads back what it wrote, and the store hears each thread's writes in its order.
TEST_F(WindowTest, WorkersNeverWaitForTheGuiThread)
{
    WriteRecorder recorder(store);
    const Control targets[] = {标签3, 标签4, 标签5, 标签6};
    std::vector<std::thread> workers;
    std::atomic<int> mismatches{0};
    for (Control c : targets)
        workers.emplace_back([c, &mismatches] {
            for (int i = 1; i <= 500; ++i) {
                write_int(c, Property::left, i);
                if (read_int(c, Property::left) != i)
                    ++mismatches;
            }
        });
    for (std::thread& t : workers)
        t.join(); // the GUI thread blocks here; a worker that waited for it would hang
    EXPECT_EQ(mismatches, 0);
    for (Control c : targets) {
        std::vector<int> expected(500);
        std::iota(expected.begin(), expected.end(), 1);
        EXPECT_EQ(recorder.values(c, Property::left), expected);
    }
    QCoreApplication::processEvents();
    for (Control c : targets)
        EXPECT_EQ(widget(c)->x(), 500);
}

}
}
